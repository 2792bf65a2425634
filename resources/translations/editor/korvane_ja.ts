<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_131">
        <source>1.3.4</source>
        <translation>1.3.4</translation>
    </message>
    <message id="str_258">
        <source>Fail to save the changed setting parameters to SD card.</source>
        <translation>変更した設定をSDカードに保存できませんでした。</translation>
    </message>
    <message id="str_266">
        <source>FW Ver :%d.%d          Viewer Ver %s          File deletion method: %s.</source>
        <translation>FWバージョン :%d.%d          ビューアーバージョン %s          ファイル削除方式は%sです。</translation>
    </message>
    <message id="str_273">
        <source>Deletion by File Type</source>
        <translation>種類別削除</translation>
    </message>
    <message id="str_275">
        <source>Viewer Performance</source>
        <translation>ビューアー性能設定</translation>
    </message>
    <message id="str_276">
        <source>The viewer performance setting applies after all viewers are closed.</source>
        <translation>ビューアー性能設定は、すべてのビューアーを終了した後に適用されます。</translation>
    </message>
    <message id="str_282">
        <source>The advanced viewer options apply when the viewer restarts.</source>
        <translation>ビューアーの詳細オプションは、ビューアーの再起動時に適用されます。</translation>
    </message>
    <message id="str_501">
        <source>Advanced Setting</source>
        <translation>詳細設定</translation>
    </message>
    <message id="str_502">
        <source>Driving Mode Setting</source>
        <translation>走行モード設定</translation>
    </message>
    <message id="str_503">
        <source>General Setting</source>
        <translation>一般設定</translation>
    </message>
    <message id="str_504">
        <source>Parking Mode Setting</source>
        <translation>駐車モード設定</translation>
    </message>
    <message id="str_505">
        <source>Wi-Fi Setting</source>
        <translation>Wi-Fi設定</translation>
    </message>
    <message id="str_506">
        <source>Advanced</source>
        <translation>詳細</translation>
    </message>
    <message id="str_507">
        <source>Driving</source>
        <translation>走行</translation>
    </message>
    <message id="str_508">
        <source>General</source>
        <translation>一般</translation>
    </message>
    <message id="str_509">
        <source>Parking</source>
        <translation>駐車</translation>
    </message>
    <message id="str_510">
        <source>Wi-Fi</source>
        <translation>Wi-Fi</translation>
    </message>
    <message id="str_551">
        <source>Bright</source>
        <translation>明るく</translation>
    </message>
    <message id="str_552">
        <source>File Storage Ratio has been changed</source>
        <translation>ファイル保存比率が変更されました。</translation>
    </message>
    <message id="str_553">
        <source>Since File Storage Ratio has been changed, the files over the Storage Ratio may be deleted.</source>
        <translation>ファイル保存比率が変更されたため、保存比率を超えるファイルは削除されることがあります。</translation>
    </message>
    <message id="str_554">
        <source>File Deletion Method</source>
        <translation>ファイル削除方式</translation>
    </message>
    <message id="str_555">
        <source>Deletion by File Type</source>
        <translation>種類別削除</translation>
    </message>
    <message id="str_556">
        <source>Deletion by Time Order</source>
        <translation>時間順削除</translation>
    </message>
    <message id="str_557">
        <source>Uable to use becase Shock-Sensing Mode while Driving is set to OFF</source>
        <translation>走行中の衝撃感知がOFFに設定されているため使用できません。</translation>
    </message>
    <message id="str_558">
        <source>Event Files will be deleted first as Event Sensing is set to OFF.</source>
        <translation>イベント感知がOFFに設定されているため、イベントファイルが先に削除されます。</translation>
    </message>
    <message id="str_559">
        <source>Event : %d%%</source>
        <translation>イベント : %d%%</translation>
    </message>
    <message id="str_560">
        <source>Normal : %d%%</source>
        <translation>常時 : %d%%</translation>
    </message>
    <message id="str_561">
        <source>Parking : %d%%</source>
        <translation>駐車 : %d%%</translation>
    </message>
    <message id="str_562">
        <source>15fps</source>
        <translation>15fps</translation>
    </message>
    <message id="str_563">
        <source>22fps</source>
        <translation>22fps</translation>
    </message>
    <message id="str_564">
        <source>24fps</source>
        <translation>24fps</translation>
    </message>
    <message id="str_565">
        <source>30fps</source>
        <translation>30fps</translation>
    </message>
    <message id="str_566">
        <source>FTP</source>
        <translation>FTP</translation>
    </message>
    <message id="str_567">
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message id="str_568">
        <source>Password</source>
        <translation>パスワード</translation>
    </message>
    <message id="str_569">
        <source>FTP ID and password must be 8 to 16 characters long.</source>
        <translation>FTPのIDとパスワードは8～16文字にしてください。</translation>
    </message>
    <message id="str_570">
        <source>Firmware Version</source>
        <translation>ファームウェアバージョン</translation>
    </message>
    <message id="str_571">
        <source>High</source>
        <translation>高</translation>
    </message>
    <message id="str_572">
        <source>High Quality Audio</source>
        <translation>高音質オーディオ</translation>
    </message>
    <message id="str_573">
        <source>ID and password must consist of letters and digits.</source>
        <translation>IDとパスワードは英字と数字で入力してください。</translation>
    </message>
    <message id="str_574">
        <source>Shock-Sensing</source>
        <translation>衝撃感知</translation>
    </message>
    <message id="str_575">
        <source>Shock-Sensitivity while Driving</source>
        <translation>走行中の衝撃感度</translation>
    </message>
    <message id="str_576">
        <source>Shock Sensitivity while Parking</source>
        <translation>駐車中の衝撃感度</translation>
    </message>
    <message id="str_577">
        <source>Shock-Sensing Alarm</source>
        <translation>衝撃感知アラーム</translation>
    </message>
    <message id="str_578">
        <source>Insensitive</source>
        <translation>鈍感</translation>
    </message>
    <message id="str_579">
        <source>Maximum</source>
        <translation>最大</translation>
    </message>
    <message id="str_580">
        <source>Minimum</source>
        <translation>最小</translation>
    </message>
    <message id="str_581">
        <source>Middle</source>
        <translation>中</translation>
    </message>
    <message id="str_583">
        <source>Shock &amp;&amp; Motion Sensing</source>
        <translation>衝撃 &amp;&amp; 動作感知</translation>
    </message>
    <message id="str_584">
        <source>Motion Sensitivity Setting</source>
        <translation>動作感度設定</translation>
    </message>
    <message id="str_585">
        <source>Video Noise Reduction</source>
        <translation>映像ノイズ除去</translation>
    </message>
    <message id="str_586">
        <source>Normal</source>
        <translation>普通</translation>
    </message>
    <message id="str_587">
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message id="str_588">
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message id="str_589">
        <source>HD (720P)</source>
        <translation>HD (720P)</translation>
    </message>
    <message id="str_590">
        <source>Display Speed</source>
        <translation>速度表示</translation>
    </message>
    <message id="str_591">
        <source>Unable to use because both Shock-Sensing and Parking Mode while Driving are set to OFF</source>
        <translation>走行中の衝撃感知と駐車モードがどちらもOFFに設定されているため使用できません。</translation>
    </message>
    <message id="str_592">
        <source>Parking Mode</source>
        <translation>駐車モード</translation>
    </message>
    <message id="str_593">
        <source>Parking Files will be deleted first as Parking Mode is set to OFF.</source>
        <translation>駐車モードがOFFに設定されているため、駐車ファイルが先に削除されます。</translation>
    </message>
    <message id="str_594">
        <source>D1 (480P)</source>
        <translation>D1 (480P)</translation>
    </message>
    <message id="str_595">
        <source>Brightness Adjustment</source>
        <translation>明るさ調整</translation>
    </message>
    <message id="str_596">
        <source>Recording Quality</source>
        <translation>録画画質</translation>
    </message>
    <message id="str_597">
        <source>FULL HD (1080P)</source>
        <translation>FULL HD (1080P)</translation>
    </message>
    <message id="str_598">
        <source>Wide Mode (720P)</source>
        <translation>ワイドモード (720P)</translation>
    </message>
    <message id="str_601">
        <source>Sensitive</source>
        <translation>敏感</translation>
    </message>
    <message id="str_602">
        <source>Time setting will be changed to %d Y %d M %d D %d hr %d min. Are you sure to change?</source>
        <translation>時刻設定を%d年%d月%d日 %d時%d分に変更します。よろしいですか？</translation>
    </message>
    <message id="str_603">
        <source>Time setting will be changed to %d Y %d M %d D %d hr %d min %d sec. Are you sure to change?</source>
        <translation>時刻設定を%d年%d月%d日 %d時%d分%d秒に変更します。よろしいですか？</translation>
    </message>
    <message id="str_604">
        <source>Time setting</source>
        <translation>時刻設定</translation>
    </message>
    <message id="str_605">
        <source>Time Zone</source>
        <translation>タイムゾーン</translation>
    </message>
    <message id="str_606">
        <source>Video Post Processing</source>
        <translation>映像後処理</translation>
    </message>
    <message id="str_607">
        <source>Low</source>
        <translation>低性能PC用</translation>
    </message>
    <message id="str_608">
        <source>Middle</source>
        <translation>標準PC用</translation>
    </message>
    <message id="str_609">
        <source>High</source>
        <translation>高性能PC用</translation>
    </message>
    <message id="str_610">
        <source>Voice Guidance</source>
        <translation>音声案内</translation>
    </message>
    <message id="str_611">
        <source>Voice Guidance Volume</source>
        <translation>音声案内の音量</translation>
    </message>
    <message id="str_612">
        <source>Reconding Sound</source>
        <translation>録音</translation>
    </message>
    <message id="str_613">
        <source>Wi-Fi</source>
        <translation>Wi-Fi</translation>
    </message>
    <message id="str_614">
        <source>Password</source>
        <translation>パスワード</translation>
    </message>
    <message id="str_615">
        <source>[Only Numbers]</source>
        <translation>[数字のみ]</translation>
    </message>
    <message id="str_616">
        <source>The Wi-Fi password must be 10 characters long.</source>
        <translation>Wi-Fiパスワードは10文字にしてください。</translation>
    </message>
    <message id="str_617">
        <source>The password must consist of digits.</source>
        <translation>パスワードは数字で入力してください。</translation>
    </message>
    <message id="str_618">
        <source>Saving the settings.</source>
        <translation>設定を保存しています。</translation>
    </message>
    <message id="str_619">
        <source>The settings have been saved.</source>
        <translation>設定の保存が完了しました。</translation>
    </message>
    <message id="str_620">
        <source>Recording Volume Setting</source>
        <translation>録音音量設定</translation>
    </message>
    <message id="str_621">
        <source>Viewer Selection Message</source>
        <translation>ビューアー選択メッセージ</translation>
    </message>
    <message id="str_622">
        <source>Show again</source>
        <translation>再表示する</translation>
    </message>
    <message id="str_623">
        <source>Do not show again</source>
        <translation>今後表示しない</translation>
    </message>
</context>
</TS>
