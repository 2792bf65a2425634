<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_24001">
        <source>Trip timeline</source>
        <translation>주행 타임라인</translation>
    </message>
    <message id="str_24002">
        <source>Export trip as GPX...</source>
        <translation>주행 경로를 GPX로 내보내기...</translation>
    </message>
    <message id="str_24003">
        <source>Export trip as KML...</source>
        <translation>주행 경로를 KML로 내보내기...</translation>
    </message>
    <message id="str_24004">
        <source>No trip is being played.</source>
        <translation>재생 중인 주행이 없습니다.</translation>
    </message>
    <message id="str_24005">
        <source>The trip file could not be written.</source>
        <translation>주행 경로 파일을 저장할 수 없습니다.</translation>
    </message>
    <message id="str_24006">
        <source>%1 km · %2 min · top %3 km/h · average %4 km/h · %5 events</source>
        <translation>%1 km · %2분 · 최고 %3 km/h · 평균 %4 km/h · 이벤트 %5개</translation>
    </message>
    <message id="str_24007">
        <source>impacts: not available</source>
        <translation>충격: 확인 불가</translation>
    </message>
    <message id="str_24008">
        <source>%1 impacts</source>
        <translation>충격 %1회</translation>
    </message>
    <message id="str_24009">
        <source>Trip %1</source>
        <translation>주행 %1</translation>
    </message>
</context>
</TS>
