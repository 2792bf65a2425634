<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_13090">
        <source>An SD card with recordings was inserted (%1). Open it now?</source>
        <translation>녹화 영상이 있는 SD 카드가 삽입되었습니다 (%1). 지금 여시겠습니까?</translation>
    </message>
</context>
</TS>
