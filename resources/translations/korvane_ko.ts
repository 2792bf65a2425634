<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_256">
        <source>You must select one SD Card.</source>
        <translation>SD 카드를 하나만 선택해야 합니다.</translation>
    </message>
    <message id="str_257">
        <source>Selete SD Card</source>
        <translation>SD 카드를 선택하세요</translation>
    </message>
    <message id="str_900">
        <source>&amp;Restore</source>
        <translation>이전 크기로(&amp;R)</translation>
    </message>
    <message id="str_901">
        <source>&amp;Move</source>
        <translation>이동(&amp;M)</translation>
    </message>
    <message id="str_902">
        <source>&amp;Size</source>
        <translation>크기 조정(&amp;S)</translation>
    </message>
    <message id="str_903">
        <source>Mi&amp;nimize</source>
        <translation>최소화(&amp;N)</translation>
    </message>
    <message id="str_904">
        <source>Ma&amp;ximize</source>
        <translation>최대화(&amp;X)</translation>
    </message>
    <message id="str_905">
        <source>&amp;Close</source>
        <translation>닫기(&amp;C)</translation>
    </message>
    <message id="str_910">
        <source>Video playback is not available: %1. The recordings can still be listed, copied and backed up.</source>
        <translation>영상 재생을 사용할 수 없습니다: %1. 녹화 목록 보기, 복사, 백업은 계속 사용할 수 있습니다.</translation>
    </message>
</context>
</TS>
