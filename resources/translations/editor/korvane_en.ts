<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>korvane</name>
    <message id="str_131">
        <source>1.3.4</source>
        <translation>1.3.4</translation>
    </message>
    <message id="str_258">
        <source>Fail to save the changed setting parameters to SD card.</source>
        <translation>Fail to save the changed setting parameters to SD card.</translation>
    </message>
    <message id="str_266">
        <source>FW Ver :%d.%d          Viewer Ver %s          File deletion method: %s.</source>
        <translation>FW Ver :%d.%d          Viewer Ver %s          File deletion method: %s.</translation>
    </message>
    <message id="str_273">
        <source>Deletion by File Type</source>
        <translation>Deletion by File Type</translation>
    </message>
    <message id="str_275">
        <source>Viewer Performance</source>
        <translation>Viewer Performance</translation>
    </message>
    <message id="str_276">
        <source>The viewer performance setting applies after all viewers are closed.</source>
        <translation>The viewer performance setting applies after all viewers are closed.</translation>
    </message>
    <message id="str_282">
        <source>The advanced viewer options apply when the viewer restarts.</source>
        <translation>The advanced viewer options apply when the viewer restarts.</translation>
    </message>
    <message id="str_501">
        <source>Advanced Setting</source>
        <translation>Advanced Setting</translation>
    </message>
    <message id="str_502">
        <source>Driving Mode Setting</source>
        <translation>Driving Mode Setting</translation>
    </message>
    <message id="str_503">
        <source>General Setting</source>
        <translation>General Setting</translation>
    </message>
    <message id="str_504">
        <source>Parking Mode Setting</source>
        <translation>Parking Mode Setting</translation>
    </message>
    <message id="str_505">
        <source>Wi-Fi Setting</source>
        <translation>Wi-Fi Setting</translation>
    </message>
    <message id="str_506">
        <source>Advanced</source>
        <translation>Advanced</translation>
    </message>
    <message id="str_507">
        <source>Driving</source>
        <translation>Driving</translation>
    </message>
    <message id="str_508">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="str_509">
        <source>Parking</source>
        <translation>Parking</translation>
    </message>
    <message id="str_510">
        <source>Wi-Fi</source>
        <translation>Wi-Fi</translation>
    </message>
    <message id="str_551">
        <source>Bright</source>
        <translation>Bright</translation>
    </message>
    <message id="str_552">
        <source>File Storage Ratio has been changed</source>
        <translation>File Storage Ratio has been changed</translation>
    </message>
    <message id="str_553">
        <source>Since File Storage Ratio has been changed, the files over the Storage Ratio may be deleted.</source>
        <translation>Since File Storage Ratio has been changed, the files over the Storage Ratio may be deleted.</translation>
    </message>
    <message id="str_554">
        <source>File Deletion Method</source>
        <translation>File Deletion Method</translation>
    </message>
    <message id="str_555">
        <source>Deletion by File Type</source>
        <translation>Deletion by File Type</translation>
    </message>
    <message id="str_556">
        <source>Deletion by Time Order</source>
        <translation>Deletion by Time Order</translation>
    </message>
    <message id="str_557">
        <source>Uable to use becase Shock-Sensing Mode while Driving is set to OFF</source>
        <translation>Uable to use becase Shock-Sensing Mode while Driving is set to OFF</translation>
    </message>
    <message id="str_558">
        <source>Event Files will be deleted first as Event Sensing is set to OFF.</source>
        <translation>Event Files will be deleted first as Event Sensing is set to OFF.</translation>
    </message>
    <message id="str_559">
        <source>Event : %d%%</source>
        <translation>Event : %d%%</translation>
    </message>
    <message id="str_560">
        <source>Normal : %d%%</source>
        <translation>Normal : %d%%</translation>
    </message>
    <message id="str_561">
        <source>Parking : %d%%</source>
        <translation>Parking : %d%%</translation>
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
        <translation>Password</translation>
    </message>
    <message id="str_569">
        <source>FTP ID and password must be 8 to 16 characters long.</source>
        <translation>FTP ID and password must be 8 to 16 characters long.</translation>
    </message>
    <message id="str_570">
        <source>Firmware Version</source>
        <translation>Firmware Version</translation>
    </message>
    <message id="str_571">
        <source>High</source>
        <translation>High</translation>
    </message>
    <message id="str_572">
        <source>High Quality Audio</source>
        <translation>High Quality Audio</translation>
    </message>
    <message id="str_573">
        <source>ID and password must consist of letters and digits.</source>
        <translation>ID and password must consist of letters and digits.</translation>
    </message>
    <message id="str_574">
        <source>Shock-Sensing</source>
        <translation>Shock-Sensing</translation>
    </message>
    <message id="str_575">
        <source>Shock-Sensitivity while Driving</source>
        <translation>Shock-Sensitivity while Driving</translation>
    </message>
    <message id="str_576">
        <source>Shock Sensitivity while Parking</source>
        <translation>Shock Sensitivity while Parking</translation>
    </message>
    <message id="str_577">
        <source>Shock-Sensing Alarm</source>
        <translation>Shock-Sensing Alarm</translation>
    </message>
    <message id="str_578">
        <source>Insensitive</source>
        <translation>Insensitive</translation>
    </message>
    <message id="str_579">
        <source>Maximum</source>
        <translation>Maximum</translation>
    </message>
    <message id="str_580">
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message id="str_581">
        <source>Middle</source>
        <translation>Middle</translation>
    </message>
    <message id="str_583">
        <source>Shock &amp;&amp; Motion Sensing</source>
        <translation>Shock &amp;&amp; Motion Sensing</translation>
    </message>
    <message id="str_584">
        <source>Motion Sensitivity Setting</source>
        <translation>Motion Sensitivity Setting</translation>
    </message>
    <message id="str_585">
        <source>Video Noise Reduction</source>
        <translation>Video Noise Reduction</translation>
    </message>
    <message id="str_586">
        <source>Normal</source>
        <translation>Normal</translation>
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
        <translation>Display Speed</translation>
    </message>
    <message id="str_591">
        <source>Unable to use because both Shock-Sensing and Parking Mode while Driving are set to OFF</source>
        <translation>Unable to use because both Shock-Sensing and Parking Mode while Driving are set to OFF</translation>
    </message>
    <message id="str_592">
        <source>Parking Mode</source>
        <translation>Parking Mode</translation>
    </message>
    <message id="str_593">
        <source>Parking Files will be deleted first as Parking Mode is set to OFF.</source>
        <translation>Parking Files will be deleted first as Parking Mode is set to OFF.</translation>
    </message>
    <message id="str_594">
        <source>D1 (480P)</source>
        <translation>D1 (480P)</translation>
    </message>
    <message id="str_595">
        <source>Brightness Adjustment</source>
        <translation>Brightness Adjustment</translation>
    </message>
    <message id="str_596">
        <source>Recording Quality</source>
        <translation>Recording Quality</translation>
    </message>
    <message id="str_597">
        <source>FULL HD (1080P)</source>
        <translation>FULL HD (1080P)</translation>
    </message>
    <message id="str_598">
        <source>Wide Mode (720P)</source>
        <translation>Wide Mode (720P)</translation>
    </message>
    <message id="str_601">
        <source>Sensitive</source>
        <translation>Sensitive</translation>
    </message>
    <message id="str_602">
        <source>Time setting will be changed to %d Y %d M %d D %d hr %d min. Are you sure to change?</source>
        <translation>Time setting will be changed to %d Y %d M %d D %d hr %d min. Are you sure to change?</translation>
    </message>
    <message id="str_603">
        <source>Time setting will be changed to %d Y %d M %d D %d hr %d min %d sec. Are you sure to change?</source>
        <translation>Time setting will be changed to %d Y %d M %d D %d hr %d min %d sec. Are you sure to change?</translation>
    </message>
    <message id="str_604">
        <source>Time setting</source>
        <translation>Time setting</translation>
    </message>
    <message id="str_605">
        <source>Time Zone</source>
        <translation>Time Zone</translation>
    </message>
    <message id="str_606">
        <source>Video Post Processing</source>
        <translation>Video Post Processing</translation>
    </message>
    <message id="str_607">
        <source>Low</source>
        <translation>Low</translation>
    </message>
    <message id="str_608">
        <source>Middle</source>
        <translation>Middle</translation>
    </message>
    <message id="str_609">
        <source>High</source>
        <translation>High</translation>
    </message>
    <message id="str_610">
        <source>Voice Guidance</source>
        <translation>Voice Guidance</translation>
    </message>
    <message id="str_611">
        <source>Voice Guidance Volume</source>
        <translation>Voice Guidance Volume</translation>
    </message>
    <message id="str_612">
        <source>Reconding Sound</source>
        <translation>Reconding Sound</translation>
    </message>
    <message id="str_613">
        <source>Wi-Fi</source>
        <translation>Wi-Fi</translation>
    </message>
    <message id="str_614">
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message id="str_615">
        <source>[Only Numbers]</source>
        <translation>[Only Numbers]</translation>
    </message>
    <message id="str_616">
        <source>The Wi-Fi password must be 10 characters long.</source>
        <translation>The Wi-Fi password must be 10 characters long.</translation>
    </message>
    <message id="str_617">
        <source>The password must consist of digits.</source>
        <translation>The password must consist of digits.</translation>
    </message>
    <message id="str_618">
        <source>Saving the settings.</source>
        <translation>Saving the settings.</translation>
    </message>
    <message id="str_619">
        <source>The settings have been saved.</source>
        <translation>The settings have been saved.</translation>
    </message>
    <message id="str_620">
        <source>Recording Volume Setting</source>
        <translation>Recording Volume Setting</translation>
    </message>
    <message id="str_621">
        <source>Viewer Selection Message</source>
        <translation>Viewer Selection Message</translation>
    </message>
    <message id="str_622">
        <source>Show again</source>
        <translation>Show again</translation>
    </message>
    <message id="str_623">
        <source>Do not show again</source>
        <translation>Do not show again</translation>
    </message>
</context>
</TS>
