<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_AU">
<context>
    <name>korvane</name>
    <message id="str_201">
        <source>korvane://maps.korvane/_mapapi/korvane/map_google_australia.html</source>
        <translation>korvane://maps.korvane/_mapapi/korvane/map_google_australia.html</translation>
    </message>
    <message id="str_202">
        <source>korvane://maps.korvane/_mapapi/korvane/map_naver.html</source>
        <translation>korvane://maps.korvane/_mapapi/korvane/map_naver.html</translation>
    </message>
    <message id="str_203">
        <source>korvane://maps.korvane/_mapapi/korvane/map_daum.html</source>
        <translation>korvane://maps.korvane/_mapapi/korvane/map_daum.html</translation>
    </message>
</context>
</TS>
