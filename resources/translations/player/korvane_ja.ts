<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_231">
        <source>Brightness</source>
        <translation>明るさ</translation>
    </message>
    <message id="str_232">
        <source>Contrast</source>
        <translation>コントラスト</translation>
    </message>
    <message id="str_274">
        <source>It was saved in KORVANE folder at Desktop</source>
        <translation>デスクトップのKORVANEフォルダに保存しました。</translation>
    </message>
    <message id="str_280">
        <source>There is no item to capture.</source>
        <translation>キャプチャする項目がありません。</translation>
    </message>
    <message id="str_290">
        <source>The picture cannot be rotated while PTZ is on.</source>
        <translation>PTZ中は映像を回転できません。</translation>
    </message>
    <message id="str_930">
        <source>%1 could not be loaded</source>
        <translation>%1 を読み込めませんでした</translation>
    </message>
    <message id="str_931">
        <source>%1 lacks %2</source>
        <translation>%1 に %2 がありません</translation>
    </message>
    <message id="str_932">
        <source>%1 is not loaded</source>
        <translation>%1 が読み込まれていません</translation>
    </message>
    <message id="str_933">
        <source>libvlc_new failed (the library's plug-ins were not found or an option was refused)</source>
        <translation>libvlc_new に失敗しました（ライブラリのプラグインが見つからないか、オプションが拒否されました）</translation>
    </message>
    <message id="str_934">
        <source>libvlc_media_player_new failed</source>
        <translation>libvlc_media_player_new に失敗しました（プレーヤーを作成できません）</translation>
    </message>
    <message id="str_935">
        <source>libvlc_media_player_event_manager failed</source>
        <translation>libvlc_media_player_event_manager に失敗しました（プレーヤーのイベントを受け取れません）</translation>
    </message>
</context>
</TS>
