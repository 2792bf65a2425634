<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_131">
        <source>1.3.4</source>
        <translation>1.3.4</translation>
    </message>
    <message id="str_258">
        <source>Fail to save the changed setting parameters to SD card.</source>
        <translation>변경된 설정 값을 SD 카드에 저장하지 못했습니다.</translation>
    </message>
    <message id="str_266">
        <source>FW Ver :%d.%d          Viewer Ver %s          File deletion method: %s.</source>
        <translation>FW버전 :%d.%d          뷰어버전 %s          파일삭제 방식은 %s입니다.</translation>
    </message>
    <message id="str_273">
        <source>Deletion by File Type</source>
        <translation>종류별 삭제</translation>
    </message>
    <message id="str_275">
        <source>Viewer Performance</source>
        <translation>뷰어 성능 설정</translation>
    </message>
    <message id="str_276">
        <source>The viewer performance setting applies after all viewers are closed.</source>
        <translation>뷰어 성능 설정은 모든 뷰어 종료 후 적용됩니다.</translation>
    </message>
    <message id="str_282">
        <source>The advanced viewer options apply when the viewer restarts.</source>
        <translation>뷰어 고급 옵션은 뷰어 재 시작 시 적용됩니다.</translation>
    </message>
    <message id="str_501">
        <source>Advanced Setting</source>
        <translation>고급 설정</translation>
    </message>
    <message id="str_502">
        <source>Driving Mode Setting</source>
        <translation>주행 모드 설정</translation>
    </message>
    <message id="str_503">
        <source>General Setting</source>
        <translation>일반 설정</translation>
    </message>
    <message id="str_504">
        <source>Parking Mode Setting</source>
        <translation>주차 모드 설정</translation>
    </message>
    <message id="str_505">
        <source>Wi-Fi Setting</source>
        <translation>Wi-Fi 설정</translation>
    </message>
    <message id="str_506">
        <source>Advanced</source>
        <translation>고급</translation>
    </message>
    <message id="str_507">
        <source>Driving</source>
        <translation>주행</translation>
    </message>
    <message id="str_508">
        <source>General</source>
        <translation>일반</translation>
    </message>
    <message id="str_509">
        <source>Parking</source>
        <translation>주차</translation>
    </message>
    <message id="str_510">
        <source>Wi-Fi</source>
        <translation>Wi-Fi</translation>
    </message>
    <message id="str_551">
        <source>Bright</source>
        <translation>밝게</translation>
    </message>
    <message id="str_552">
        <source>File Storage Ratio has been changed</source>
        <translation>파일 저장 비율이 변경되었습니다.</translation>
    </message>
    <message id="str_553">
        <source>Since File Storage Ratio has been changed, the files over the Storage Ratio may be deleted.</source>
        <translation>파일 저장 비율이 변경되어 저장 비율을 넘는 파일은 삭제될 수 있습니다.</translation>
    </message>
    <message id="str_554">
        <source>File Deletion Method</source>
        <translation>파일 삭제 방식</translation>
    </message>
    <message id="str_555">
        <source>Deletion by File Type</source>
        <translation>종류별 삭제</translation>
    </message>
    <message id="str_556">
        <source>Deletion by Time Order</source>
        <translation>시간순 삭제</translation>
    </message>
    <message id="str_557">
        <source>Uable to use becase Shock-Sensing Mode while Driving is set to OFF</source>
        <translation>주행 중 충격 감지가 OFF로 설정되어 있어 사용할 수 없습니다.</translation>
    </message>
    <message id="str_558">
        <source>Event Files will be deleted first as Event Sensing is set to OFF.</source>
        <translation>이벤트 감지가 OFF로 설정되어 이벤트 파일이 먼저 삭제됩니다.</translation>
    </message>
    <message id="str_559">
        <source>Event : %d%%</source>
        <translation>이벤트 : %d%%</translation>
    </message>
    <message id="str_560">
        <source>Normal : %d%%</source>
        <translation>상시 : %d%%</translation>
    </message>
    <message id="str_561">
        <source>Parking : %d%%</source>
        <translation>주차 : %d%%</translation>
    </message>
    <message id="str_562">
        <source>15fps</source>
        <translation>15fps</translation>
    </message>
    <message id="str_563">
        <source>22fps</source>
        <translation>22fps</translation>
    </message>
    <message id="str_564">
        <source>24fps</source>
        <translation>24fps</translation>
    </message>
    <message id="str_565">
        <source>30fps</source>
        <translation>30fps</translation>
    </message>
    <message id="str_566">
        <source>FTP</source>
        <translation>FTP</translation>
    </message>
    <message id="str_567">
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message id="str_568">
        <source>Password</source>
        <translation>패스워드</translation>
    </message>
    <message id="str_569">
        <source>FTP ID and password must be 8 to 16 characters long.</source>
        <translation>FTP ID, 패스워드 길이는  8~16자리여야 합니다.</translation>
    </message>
    <message id="str_570">
        <source>Firmware Version</source>
        <translation>펌웨어 버전</translation>
    </message>
    <message id="str_571">
        <source>High</source>
        <translation>높음</translation>
    </message>
    <message id="str_572">
        <source>High Quality Audio</source>
        <translation>고음질 오디오</translation>
    </message>
    <message id="str_573">
        <source>ID and password must consist of letters and digits.</source>
        <translation>ID와 패스워드는 영어와 숫자로 이루어져야 합니다.</translation>
    </message>
    <message id="str_574">
        <source>Shock-Sensing</source>
        <translation>충격 감지</translation>
    </message>
    <message id="str_575">
        <source>Shock-Sensitivity while Driving</source>
        <translation>주행 중 충격 감도</translation>
    </message>
    <message id="str_576">
        <source>Shock Sensitivity while Parking</source>
        <translation>주차 중 충격 감도</translation>
    </message>
    <message id="str_577">
        <source>Shock-Sensing Alarm</source>
        <translation>충격 감지 알람</translation>
    </message>
    <message id="str_578">
        <source>Insensitive</source>
        <translation>둔감</translation>
    </message>
    <message id="str_579">
        <source>Maximum</source>
        <translation>최대</translation>
    </message>
    <message id="str_580">
        <source>Minimum</source>
        <translation>최소</translation>
    </message>
    <message id="str_581">
        <source>Middle</source>
        <translation>중간</translation>
    </message>
    <message id="str_583">
        <source>Shock &amp;&amp; Motion Sensing</source>
        <translation>충격 &amp;&amp; 동작 감지</translation>
    </message>
    <message id="str_584">
        <source>Motion Sensitivity Setting</source>
        <translation>동작 감도 설정</translation>
    </message>
    <message id="str_585">
        <source>Video Noise Reduction</source>
        <translation>영상 노이즈 제거</translation>
    </message>
    <message id="str_586">
        <source>Normal</source>
        <translation>보통</translation>
    </message>
    <message id="str_587">
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message id="str_588">
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message id="str_589">
        <source>HD (720P)</source>
        <translation>HD (720P)</translation>
    </message>
    <message id="str_590">
        <source>Display Speed</source>
        <translation>속도 표시</translation>
    </message>
    <message id="str_591">
        <source>Unable to use because both Shock-Sensing and Parking Mode while Driving are set to OFF</source>
        <translation>주행 중 충격 감지와 주차 모드가 모두 OFF로 설정되어 있어 사용할 수 없습니다.</translation>
    </message>
    <message id="str_592">
        <source>Parking Mode</source>
        <translation>주차 모드</translation>
    </message>
    <message id="str_593">
        <source>Parking Files will be deleted first as Parking Mode is set to OFF.</source>
        <translation>주차 모드가 OFF로 설정되어 주차 파일이 먼저 삭제됩니다.</translation>
    </message>
    <message id="str_594">
        <source>D1 (480P)</source>
        <translation>D1 (480P)</translation>
    </message>
    <message id="str_595">
        <source>Brightness Adjustment</source>
        <translation>밝기 조정</translation>
    </message>
    <message id="str_596">
        <source>Recording Quality</source>
        <translation>녹화 화질</translation>
    </message>
    <message id="str_597">
        <source>FULL HD (1080P)</source>
        <translation>FULL HD (1080P)</translation>
    </message>
    <message id="str_598">
        <source>Wide Mode (720P)</source>
        <translation>와이드 모드 (720P)</translation>
    </message>
    <message id="str_601">
        <source>Sensitive</source>
        <translation>민감</translation>
    </message>
    <message id="str_602">
        <source>Time setting will be changed to %d Y %d M %d D %d hr %d min. Are you sure to change?</source>
        <translation>시간 설정이 %d년 %d월 %d일 %d시 %d분으로 변경됩니다. 변경하시겠습니까?</translation>
    </message>
    <message id="str_603">
        <source>Time setting will be changed to %d Y %d M %d D %d hr %d min %d sec. Are you sure to change?</source>
        <translation>시간 설정이 %d년 %d월 %d일 %d시 %d분 %d초로 변경됩니다. 변경하시겠습니까?</translation>
    </message>
    <message id="str_604">
        <source>Time setting</source>
        <translation>시간 설정</translation>
    </message>
    <message id="str_605">
        <source>Time Zone</source>
        <translation>표준 시간대</translation>
    </message>
    <message id="str_606">
        <source>Video Post Processing</source>
        <translation>영상 후처리</translation>
    </message>
    <message id="str_607">
        <source>Low</source>
        <translation>저사양 PC용</translation>
    </message>
    <message id="str_608">
        <source>Middle</source>
        <translation>중사양 PC용</translation>
    </message>
    <message id="str_609">
        <source>High</source>
        <translation>고사양 PC용</translation>
    </message>
    <message id="str_610">
        <source>Voice Guidance</source>
        <translation>음성 안내</translation>
    </message>
    <message id="str_611">
        <source>Voice Guidance Volume</source>
        <translation>음성 안내 볼륨</translation>
    </message>
    <message id="str_612">
        <source>Reconding Sound</source>
        <translation>녹음</translation>
    </message>
    <message id="str_613">
        <source>Wi-Fi</source>
        <translation>Wi-Fi</translation>
    </message>
    <message id="str_614">
        <source>Password</source>
        <translation>패스워드</translation>
    </message>
    <message id="str_615">
        <source>[Only Numbers]</source>
        <translation>[숫자만 입력]</translation>
    </message>
    <message id="str_616">
        <source>The Wi-Fi password must be 10 characters long.</source>
        <translation>Wi-Fi 패스워드의 길이는 10자리여야  합니다.</translation>
    </message>
    <message id="str_617">
        <source>The password must consist of digits.</source>
        <translation>패스워드는 숫자로 이루어져야 합니다.</translation>
    </message>
    <message id="str_618">
        <source>Saving the settings.</source>
        <translation>환경 설정을 저장 중입니다.</translation>
    </message>
    <message id="str_619">
        <source>The settings have been saved.</source>
        <translation>환경 설정 저장이 완료되었습니다.</translation>
    </message>
    <message id="str_620">
        <source>Recording Volume Setting</source>
        <translation>녹음 볼륨 설정</translation>
    </message>
    <message id="str_621">
        <source>Viewer Selection Message</source>
        <translation>뷰어 선택 메시지</translation>
    </message>
    <message id="str_622">
        <source>Show again</source>
        <translation>다시 보기</translation>
    </message>
    <message id="str_623">
        <source>Do not show again</source>
        <translation>다시 보지 않기</translation>
    </message>
</context>
</TS>
