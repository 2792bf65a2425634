<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_256">
        <source>You must select one SD Card.</source>
        <translation>SDカードを1枚だけ選択してください。</translation>
    </message>
    <message id="str_257">
        <source>Selete SD Card</source>
        <translation>SDカードを選択してください</translation>
    </message>
    <message id="str_900">
        <source>&amp;Restore</source>
        <translation>元のサイズに戻す(&amp;R)</translation>
    </message>
    <message id="str_901">
        <source>&amp;Move</source>
        <translation>移動(&amp;M)</translation>
    </message>
    <message id="str_902">
        <source>&amp;Size</source>
        <translation>サイズ変更(&amp;S)</translation>
    </message>
    <message id="str_903">
        <source>Mi&amp;nimize</source>
        <translation>最小化(&amp;N)</translation>
    </message>
    <message id="str_904">
        <source>Ma&amp;ximize</source>
        <translation>最大化(&amp;X)</translation>
    </message>
    <message id="str_905">
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message id="str_910">
        <source>Video playback is not available: %1. The recordings can still be listed, copied and backed up.</source>
        <translation>動画を再生できません: %1。録画の一覧表示、コピー、バックアップは引き続き使用できます。</translation>
    </message>
</context>
</TS>
