<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_272">
        <source>Select the SD card drive or root folder and press OK button.</source>
        <translation>SD 카드 드라이브 또는 루트 폴더를 선택하고 확인 버튼을 누르세요.</translation>
    </message>
    <message id="str_401">
        <source>Brightness Adjustment</source>
        <translation>밝기 조절</translation>
    </message>
    <message id="str_402">
        <source>Capture</source>
        <translation>캡처</translation>
    </message>
    <message id="str_403">
        <source>Copy</source>
        <translation>복사</translation>
    </message>
    <message id="str_404">
        <source>Delete</source>
        <translation>삭제</translation>
    </message>
    <message id="str_405">
        <source>Copy Eventfiles</source>
        <translation>이벤트 파일 복사</translation>
    </message>
    <message id="str_406">
        <source>Forward</source>
        <translation>앞으로</translation>
    </message>
    <message id="str_407">
        <source>Open Folder</source>
        <translation>폴더 열기</translation>
    </message>
    <message id="str_408">
        <source>List Off</source>
        <translation>리스트 끄기</translation>
    </message>
    <message id="str_409">
        <source>List On</source>
        <translation>리스트 켜기</translation>
    </message>
    <message id="str_410">
        <source> </source>
        <translation>지도 선택</translation>
    </message>
    <message id="str_411">
        <source>Map Off</source>
        <translation>지도 끄기</translation>
    </message>
    <message id="str_412">
        <source>Map On</source>
        <translation>지도 켜기</translation>
    </message>
    <message id="str_413">
        <source>Next</source>
        <translation>다음</translation>
    </message>
    <message id="str_414">
        <source>Night Vision OFF</source>
        <translation>야간 보정 끄기</translation>
    </message>
    <message id="str_415">
        <source>Night Vision ON</source>
        <translation>야간 보정 켜기</translation>
    </message>
    <message id="str_416">
        <source>Option</source>
        <translation>환경설정</translation>
    </message>
    <message id="str_417">
        <source>Pause</source>
        <translation>일시정지</translation>
    </message>
    <message id="str_418">
        <source>Play</source>
        <translation>재생</translation>
    </message>
    <message id="str_419">
        <source>Previous</source>
        <translation>이전</translation>
    </message>
    <message id="str_420">
        <source>PTZ OFF</source>
        <translation>PTZ 끄기</translation>
    </message>
    <message id="str_421">
        <source>PTZ ON</source>
        <translation>PTZ 켜기</translation>
    </message>
    <message id="str_422">
        <source>Rotate</source>
        <translation>회전</translation>
    </message>
    <message id="str_423">
        <source>Backward</source>
        <translation>뒤로</translation>
    </message>
    <message id="str_424">
        <source>Open SD Card</source>
        <translation>SD 카드 열기</translation>
    </message>
    <message id="str_425">
        <source>Play Speed Adjustment</source>
        <translation>재생 속도 조절</translation>
    </message>
    <message id="str_426">
        <source>Mute</source>
        <translation>음소거</translation>
    </message>
    <message id="str_427">
        <source>Vol On</source>
        <translation>소리 켜기</translation>
    </message>
    <message id="str_12900">
        <source>Select the folder</source>
        <translation>폴더 선택</translation>
    </message>
    <message id="str_12910">
        <source>Select the Drive</source>
        <translation>드라이브 선택</translation>
    </message>
    <message id="str_12920">
        <source>Play Control</source>
        <translation>재생 제어</translation>
    </message>
    <message id="str_12930">
        <source>Play / Pause</source>
        <translation>재생 / 일시정지</translation>
    </message>
    <message id="str_12940">
        <source>Backward</source>
        <translation>뒤로</translation>
    </message>
    <message id="str_12950">
        <source>Forward</source>
        <translation>앞으로</translation>
    </message>
    <message id="str_12960">
        <source>Previous</source>
        <translation>이전</translation>
    </message>
    <message id="str_12970">
        <source>Next</source>
        <translation>다음</translation>
    </message>
    <message id="str_12980">
        <source>Sound</source>
        <translation>소리</translation>
    </message>
    <message id="str_12990">
        <source>Vol up</source>
        <translation>볼륨 크게</translation>
    </message>
    <message id="str_13000">
        <source>Vol down</source>
        <translation>볼륨 작게</translation>
    </message>
    <message id="str_13010">
        <source>Mute</source>
        <translation>음소거</translation>
    </message>
    <message id="str_13020">
        <source>Save all Eventfiles</source>
        <translation>이벤트 파일 전체 복사</translation>
    </message>
    <message id="str_13030">
        <source>Map</source>
        <translation>지도</translation>
    </message>
    <message id="str_13040">
        <source>Google</source>
        <translation>구글</translation>
    </message>
    <message id="str_13050">
        <source>Daum</source>
        <translation>다음</translation>
    </message>
    <message id="str_13060">
        <source>Naver</source>
        <translation>네이버</translation>
    </message>
    <message id="str_13070">
        <source>Setting</source>
        <translation>환경설정</translation>
    </message>
    <message id="str_13080">
        <source>Exit</source>
        <translation>종료</translation>
    </message>
    <message id="str_1320">
        <source>The SD card or folder is no longer available.</source>
        <translation>SD 카드 또는 폴더를 더 이상 사용할 수 없습니다.</translation>
    </message>
</context>
</TS>
