<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_AU">
<context>
    <name>korvane</name>
    <message id="str_24001">
        <source>Trip timeline</source>
        <translation>Trip timeline</translation>
    </message>
    <message id="str_24002">
        <source>Export trip as GPX...</source>
        <translation>Export trip as GPX...</translation>
    </message>
    <message id="str_24003">
        <source>Export trip as KML...</source>
        <translation>Export trip as KML...</translation>
    </message>
    <message id="str_24004">
        <source>No trip is being played.</source>
        <translation>No trip is being played.</translation>
    </message>
    <message id="str_24005">
        <source>The trip file could not be written.</source>
        <translation>The trip file could not be written.</translation>
    </message>
    <message id="str_24006">
        <source>%1 km · %2 min · top %3 km/h · average %4 km/h · %5 events</source>
        <translation>%1 km · %2 min · top %3 km/h · average %4 km/h · events: %5</translation>
    </message>
    <message id="str_24007">
        <source>impacts: not available</source>
        <translation>impacts: not available</translation>
    </message>
    <message id="str_24008">
        <source>%1 impacts</source>
        <translation>%1 impacts</translation>
    </message>
    <message id="str_24009">
        <source>Trip %1</source>
        <translation>Trip %1</translation>
    </message>
</context>
</TS>
