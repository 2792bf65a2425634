<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_24001">
        <source>Trip timeline</source>
        <translation>走行タイムライン</translation>
    </message>
    <message id="str_24002">
        <source>Export trip as GPX...</source>
        <translation>走行ルートをGPXで書き出す...</translation>
    </message>
    <message id="str_24003">
        <source>Export trip as KML...</source>
        <translation>走行ルートをKMLで書き出す...</translation>
    </message>
    <message id="str_24004">
        <source>No trip is being played.</source>
        <translation>再生中の走行がありません。</translation>
    </message>
    <message id="str_24005">
        <source>The trip file could not be written.</source>
        <translation>走行ルートのファイルを書き込めません。</translation>
    </message>
    <message id="str_24006">
        <source>%1 km · %2 min · top %3 km/h · average %4 km/h · %5 events</source>
        <translation>%1 km · %2分 · 最高 %3 km/h · 平均 %4 km/h · イベント %5件</translation>
    </message>
    <message id="str_24007">
        <source>impacts: not available</source>
        <translation>衝撃: 不明</translation>
    </message>
    <message id="str_24008">
        <source>%1 impacts</source>
        <translation>衝撃 %1回</translation>
    </message>
    <message id="str_24009">
        <source>Trip %1</source>
        <translation>走行 %1</translation>
    </message>
</context>
</TS>
