<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_23001">
        <source>Next impact</source>
        <translation>다음 충격</translation>
    </message>
    <message id="str_23002">
        <source>Previous impact</source>
        <translation>이전 충격</translation>
    </message>
    <message id="str_23003">
        <source>Export evidence package...</source>
        <translation>증거 패키지 내보내기...</translation>
    </message>
    <message id="str_23004">
        <source>The evidence package was written to
%1
(and beside it as a zip file)</source>
        <translation>증거 패키지를 저장했습니다.
%1
(같은 위치에 ZIP 파일도 있습니다.)</translation>
    </message>
    <message id="str_23005">
        <source>No evidence package was written: %1</source>
        <translation>증거 패키지를 저장하지 못했습니다: %1</translation>
    </message>
    <message id="str_23006">
        <source>Impact threshold</source>
        <translation>충격 감지 기준</translation>
    </message>
    <message id="str_23007">
        <source>%1 g</source>
        <translation>%1 G</translation>
    </message>
    <message id="str_23008">
        <source>Export evidence package as zip...</source>
        <translation>증거 패키지를 ZIP 파일과 함께 내보내기...</translation>
    </message>
    <message id="str_23009">
        <source>The evidence package was written to
%1</source>
        <translation>증거 패키지를 저장했습니다.
%1</translation>
    </message>
</context>
</TS>
