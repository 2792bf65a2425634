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
    <message id="str_23010">
        <source>the moment lies outside what the recording holds</source>
        <translation>지정한 시각이 녹화 범위를 벗어났습니다</translation>
    </message>
    <message id="str_23011">
        <source>the package would be written among the recordings; choose another folder</source>
        <translation>녹화 파일과 같은 폴더에는 저장할 수 없습니다. 다른 폴더를 선택하세요</translation>
    </message>
    <message id="str_23012">
        <source>the recording cannot be read</source>
        <translation>녹화 파일을 읽을 수 없습니다</translation>
    </message>
    <message id="str_23013">
        <source>the package cannot be written there (is the disk full or read-only?)</source>
        <translation>패키지를 저장할 수 없습니다 (디스크 공간이나 쓰기 금지를 확인하세요)</translation>
    </message>
</context>
</TS>
