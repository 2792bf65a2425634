<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_272">
        <source>Select the SD card drive or root folder and press OK button.</source>
        <translation>SDカードのドライブまたはルートフォルダを選択してOKボタンを押してください。</translation>
    </message>
    <message id="str_401">
        <source>Brightness Adjustment</source>
        <translation>明るさ調整</translation>
    </message>
    <message id="str_402">
        <source>Capture</source>
        <translation>キャプチャー</translation>
    </message>
    <message id="str_403">
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message id="str_404">
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message id="str_405">
        <source>Copy Eventfiles</source>
        <translation>イベントファイルコピー</translation>
    </message>
    <message id="str_406">
        <source>Forward</source>
        <translation>早送り</translation>
    </message>
    <message id="str_407">
        <source>Open Folder</source>
        <translation>フォルダを開く</translation>
    </message>
    <message id="str_408">
        <source>List Off</source>
        <translation>リストOFF</translation>
    </message>
    <message id="str_409">
        <source>List On</source>
        <translation>リストON</translation>
    </message>
    <message id="str_410">
        <source> </source>
        <translation>地図選択</translation>
    </message>
    <message id="str_411">
        <source>Map Off</source>
        <translation>地図OFF</translation>
    </message>
    <message id="str_412">
        <source>Map On</source>
        <translation>地図ON</translation>
    </message>
    <message id="str_413">
        <source>Next</source>
        <translation>次へ</translation>
    </message>
    <message id="str_414">
        <source>Night Vision OFF</source>
        <translation>ナイトビジョンOFF</translation>
    </message>
    <message id="str_415">
        <source>Night Vision ON</source>
        <translation>ナイトビジョンON</translation>
    </message>
    <message id="str_416">
        <source>Option</source>
        <translation>設定</translation>
    </message>
    <message id="str_417">
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message id="str_418">
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message id="str_419">
        <source>Previous</source>
        <translation>前へ</translation>
    </message>
    <message id="str_420">
        <source>PTZ OFF</source>
        <translation>PTZ OFF</translation>
    </message>
    <message id="str_421">
        <source>PTZ ON</source>
        <translation>PTZ ON</translation>
    </message>
    <message id="str_422">
        <source>Rotate</source>
        <translation>回転</translation>
    </message>
    <message id="str_423">
        <source>Backward</source>
        <translation>巻き戻し</translation>
    </message>
    <message id="str_424">
        <source>Open SD Card</source>
        <translation>SDカードを開く</translation>
    </message>
    <message id="str_425">
        <source>Play Speed Adjustment</source>
        <translation>再生速度調整</translation>
    </message>
    <message id="str_426">
        <source>Mute</source>
        <translation>ミュート</translation>
    </message>
    <message id="str_427">
        <source>Vol On</source>
        <translation>音声ON</translation>
    </message>
    <message id="str_12900">
        <source>Select the folder</source>
        <translation>フォルダ選択</translation>
    </message>
    <message id="str_12910">
        <source>Select the Drive</source>
        <translation>ドライブ選択</translation>
    </message>
    <message id="str_12920">
        <source>Play Control</source>
        <translation>再生コントロール</translation>
    </message>
    <message id="str_12930">
        <source>Play / Pause</source>
        <translation>再生 / 一時停止</translation>
    </message>
    <message id="str_12940">
        <source>Backward</source>
        <translation>巻き戻し</translation>
    </message>
    <message id="str_12950">
        <source>Forward</source>
        <translation>早送り</translation>
    </message>
    <message id="str_12960">
        <source>Previous</source>
        <translation>前へ</translation>
    </message>
    <message id="str_12970">
        <source>Next</source>
        <translation>次へ</translation>
    </message>
    <message id="str_12980">
        <source>Sound</source>
        <translation>サウンド</translation>
    </message>
    <message id="str_12990">
        <source>Vol up</source>
        <translation>音量アップ</translation>
    </message>
    <message id="str_13000">
        <source>Vol down</source>
        <translation>音量ダウン</translation>
    </message>
    <message id="str_13010">
        <source>Mute</source>
        <translation>ミュート</translation>
    </message>
    <message id="str_13020">
        <source>Save all Eventfiles</source>
        <translation>イベントファイル全体コピー</translation>
    </message>
    <message id="str_13030">
        <source>Map</source>
        <translation>地図</translation>
    </message>
    <message id="str_13040">
        <source>Google</source>
        <translation>Google</translation>
    </message>
    <message id="str_13050">
        <source>Daum</source>
        <translation>Daum</translation>
    </message>
    <message id="str_13060">
        <source>Naver</source>
        <translation>Naver</translation>
    </message>
    <message id="str_13070">
        <source>Setting</source>
        <translation>設定</translation>
    </message>
    <message id="str_13080">
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message id="str_1320">
        <source>The SD card or folder is no longer available.</source>
        <translation>SDカードまたはフォルダーは使用できなくなりました。</translation>
    </message>
</context>
</TS>
