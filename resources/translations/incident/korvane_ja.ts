<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_23001">
        <source>Next impact</source>
        <translation>次の衝撃</translation>
    </message>
    <message id="str_23002">
        <source>Previous impact</source>
        <translation>前の衝撃</translation>
    </message>
    <message id="str_23003">
        <source>Export evidence package...</source>
        <translation>証拠パッケージを書き出す...</translation>
    </message>
    <message id="str_23004">
        <source>The evidence package was written to
%1
(and beside it as a zip file)</source>
        <translation>証拠パッケージを保存しました。
%1
(同じ場所にZIPファイルもあります。)</translation>
    </message>
    <message id="str_23005">
        <source>No evidence package was written: %1</source>
        <translation>証拠パッケージを保存できませんでした: %1</translation>
    </message>
    <message id="str_23006">
        <source>Impact threshold</source>
        <translation>衝撃のしきい値</translation>
    </message>
    <message id="str_23007">
        <source>%1 g</source>
        <translation>%1 G</translation>
    </message>
    <message id="str_23008">
        <source>Export evidence package as zip...</source>
        <translation>証拠パッケージをZIPファイル付きで書き出す...</translation>
    </message>
    <message id="str_23009">
        <source>The evidence package was written to
%1</source>
        <translation>証拠パッケージを保存しました。
%1</translation>
    </message>
    <message id="str_23010">
        <source>the moment lies outside what the recording holds</source>
        <translation>指定した時刻が録画の範囲外です</translation>
    </message>
    <message id="str_23011">
        <source>the package would be written among the recordings; choose another folder</source>
        <translation>録画と同じフォルダーには保存できません。別のフォルダーを選んでください</translation>
    </message>
    <message id="str_23012">
        <source>the recording cannot be read</source>
        <translation>録画を読み込めません</translation>
    </message>
    <message id="str_23013">
        <source>the package cannot be written there (is the disk full or read-only?)</source>
        <translation>パッケージを保存できません (ディスクの空き容量や書き込み禁止を確認してください)</translation>
    </message>
</context>
</TS>
