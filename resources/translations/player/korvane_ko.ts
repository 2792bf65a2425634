<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_231">
        <source>Brightness</source>
        <translation>밝기</translation>
    </message>
    <message id="str_232">
        <source>Contrast</source>
        <translation>대비</translation>
    </message>
    <message id="str_274">
        <source>It was saved in KORVANE folder at Desktop</source>
        <translation>바탕화면의 KORVANE 폴더에 저장되었습니다.</translation>
    </message>
    <message id="str_280">
        <source>There is no item to capture.</source>
        <translation>캡처할 항목이 없습니다.</translation>
    </message>
    <message id="str_290">
        <source>The picture cannot be rotated while PTZ is on.</source>
        <translation>PTZ 상태에서는 영상 회전을 할 수 없습니다.</translation>
    </message>
    <message id="str_930">
        <source>%1 could not be loaded</source>
        <translation>%1 파일을 불러올 수 없습니다</translation>
    </message>
    <message id="str_931">
        <source>%1 lacks %2</source>
        <translation>%1 파일에 %2 항목이 없습니다</translation>
    </message>
    <message id="str_932">
        <source>%1 is not loaded</source>
        <translation>%1 파일이 로드되지 않았습니다</translation>
    </message>
    <message id="str_933">
        <source>libvlc_new failed (the library's plug-ins were not found or an option was refused)</source>
        <translation>libvlc_new 실패 (라이브러리 플러그인을 찾지 못했거나 옵션이 거부되었습니다)</translation>
    </message>
    <message id="str_934">
        <source>libvlc_media_player_new failed</source>
        <translation>libvlc_media_player_new 실패 (플레이어를 만들 수 없습니다)</translation>
    </message>
    <message id="str_935">
        <source>libvlc_media_player_event_manager failed</source>
        <translation>libvlc_media_player_event_manager 실패 (플레이어 이벤트를 받을 수 없습니다)</translation>
    </message>
</context>
</TS>
