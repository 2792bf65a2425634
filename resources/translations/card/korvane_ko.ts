<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_253">
        <source>If formatting, all of your data stored in SD Card will be erased. It is highly recommemded for you to backup your data before formatting. Recovery (low format) will take more time (approx, 10 minuers for 4G Memory card) than Normal Format.</source>
        <translation>포맷하면 SD 카드에 저장된 모든 데이터가 지워집니다. 포맷하기 전에 데이터를 백업하시기 바랍니다. 복구(로우 포맷)는 일반 포맷보다 시간이 더 걸립니다(4G 메모리 카드 기준 약 10분).</translation>
    </message>
    <message id="str_254">
        <source>Format complete</source>
        <translation>포맷이 완료되었습니다.</translation>
    </message>
    <message id="str_255">
        <source>Format failed</source>
        <translation>포맷에 실패하였습니다.</translation>
    </message>
    <message id="str_262">
        <source>Formatting: %d%% is under progressing.</source>
        <translation>포맷 중: %d%% 진행되었습니다.</translation>
    </message>
    <message id="str_263">
        <source> </source>
        <translation>%d%% 검사 중 입니다.</translation>
    </message>
    <message id="str_284">
        <source> </source>
        <translation>오류 검사는 SD 카드 오류 를 검사합니다. 읽기 속도 검사는 SD 카드 클러스터 당 읽기 속도 측정으로 진행됩니다.</translation>
    </message>
    <message id="str_285">
        <source> </source>
        <translation>읽기 속도 검사가 완료되었습니다. 정상적으로 사용이 가능합니다.</translation>
    </message>
    <message id="str_286">
        <source> </source>
        <translation>읽기 속도 검사를 측정 실패하였습니다. 다른 USB 포트에 연결하여 재 검사가 필요합니다. 재 검사 후에도 검사 실패할 경우 SD카드 교체가 필요합니다.</translation>
    </message>
    <message id="str_287">
        <source> </source>
        <translation>SD 카드에 오류가 검출되지 않았습니다. 오류 검사가 완료되었습니다.</translation>
    </message>
    <message id="str_288">
        <source> </source>
        <translation>SD 카드에 오류가 검출되었습니다. SD 카드 포맷이 필요합니다.</translation>
    </message>
    <message id="str_289">
        <source> </source>
        <translation>오류 검사를 실패하였습니다. 다른 USB 포트에 연결하여 재 검사가 필요합니다. 재 검사 후에도 검사 실패할 경우 SD카드 교체가 필요합니다.</translation>
    </message>
    <message id="str_293">
        <source> </source>
        <translation>읽기 속도 검사가 완료되었습니다. 전체 클러스터 %d개 중 응답 속도가 느린 클러스터 갯수는 %d개 입니다. 지속적으로 사용 시 녹화가 정상적으로 되지 않을 수 있습니다.</translation>
    </message>
    <message id="str_1500">
        <source>The camera's settings file (Setup/setup.bin) could not be copied to the PC. If you format now, the camera's settings will be lost. Format anyway?</source>
        <translation>카메라 설정 파일(Setup/setup.bin)을 PC에 복사하지 못했습니다. 지금 포맷하면 카메라 설정이 사라집니다. 그래도 포맷하시겠습니까?</translation>
    </message>
    <message id="str_1501">
        <source>The camera's settings file could not be written back to the SD card. A copy is kept on this PC: %1</source>
        <translation>카메라 설정 파일을 SD 카드에 다시 쓰지 못했습니다. 사본이 이 PC에 보관되어 있습니다: %1</translation>
    </message>
    <message id="str_1502">
        <source>The capacity test fills the free space of the SD card with test data, reads it back and removes it. Existing files are not changed. It can take a long time. Start the test?</source>
        <translation>용량 검사는 SD 카드의 빈 공간을 검사용 데이터로 채운 뒤 다시 읽고 삭제합니다. 기존 파일은 변경되지 않습니다. 시간이 오래 걸릴 수 있습니다. 검사를 시작하시겠습니까?</translation>
    </message>
    <message id="str_1503">
        <source>The capacity test is complete. All %1 tested were stored correctly. Write %2 MB/s, read %3 MB/s.</source>
        <translation>용량 검사가 완료되었습니다. 검사한 %1 모두 정상적으로 저장되었습니다. 쓰기 %2 MB/s, 읽기 %3 MB/s.</translation>
    </message>
    <message id="str_1504">
        <source>The capacity test found a problem: of %1 tested, only %2 were stored correctly (%3 overwritten or damaged). This card stores less than it claims; do not record on it.</source>
        <translation>용량 검사에서 문제가 발견되었습니다. 검사한 %1 중 %2만 정상적으로 저장되었습니다(%3 덮어쓰기 또는 손상). 이 카드는 표시된 용량보다 적게 저장합니다. 녹화에 사용하지 마십시오.</translation>
    </message>
    <message id="str_1505">
        <source>The capacity test could not be run: %1</source>
        <translation>용량 검사를 실행하지 못했습니다: %1</translation>
    </message>
    <message id="str_1506">
        <source>Capacity test...</source>
        <translation>용량 검사...</translation>
    </message>
    <message id="str_1507">
        <source>The administrator's password was not given, so nothing was done. The SD card is unchanged.</source>
        <translation>관리자 암호가 입력되지 않아 아무 작업도 하지 않았습니다. SD 카드는 변경되지 않았습니다.</translation>
    </message>
    <message id="str_1508">
        <source>This account is not allowed to do this to the SD card, so nothing was done. The SD card is unchanged.</source>
        <translation>이 계정에는 SD 카드에 이 작업을 할 권한이 없어 아무 작업도 하지 않았습니다. SD 카드는 변경되지 않았습니다.</translation>
    </message>
    <message id="str_1509">
        <source>This drive holds %1, more than any SD card. It is not a camera card and is not formatted.</source>
        <translation>이 드라이브의 용량은 %1로 어떤 SD 카드보다 큽니다. 카메라용 카드가 아니므로 포맷하지 않습니다.</translation>
    </message>
    <message id="str_1510">
        <source>This drive holds %1 partitions. It is not a camera card and is not formatted.</source>
        <translation>이 드라이브에는 파티션이 %1개 있습니다. 카메라용 카드가 아니므로 포맷하지 않습니다.</translation>
    </message>
    <message id="str_1511">
        <source>This card (%1) is too small for a file system the camera can use. It is not formatted.</source>
        <translation>이 카드(%1)는 카메라가 사용할 수 있는 파일 시스템을 만들기에 너무 작습니다. 포맷하지 않습니다.</translation>
    </message>
    <message id="str_1512">
        <source>This card has no readable file system, so its recordings cannot be opened. Format or check it.</source>
        <translation>이 카드에는 읽을 수 있는 파일 시스템이 없어 녹화 파일을 열 수 없습니다. 포맷하거나 검사하십시오.</translation>
    </message>
    <message id="str_1513">
        <source>Drive to format: %1, %2 (%3)</source>
        <translation>포맷할 드라이브: %1, %2 (%3)</translation>
    </message>
</context>
</TS>
