<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_AU">
<context>
    <name>korvane</name>
    <message id="str_23001">
        <source>Next impact</source>
        <translation>Next impact</translation>
    </message>
    <message id="str_23002">
        <source>Previous impact</source>
        <translation>Previous impact</translation>
    </message>
    <message id="str_23003">
        <source>Export evidence package...</source>
        <translation>Export evidence package...</translation>
    </message>
    <message id="str_23004">
        <source>The evidence package was written to
%1
(and beside it as a zip file)</source>
        <translation>The evidence package was written to
%1
(and beside it as a zip file)</translation>
    </message>
    <message id="str_23005">
        <source>No evidence package was written: %1</source>
        <translation>No evidence package was written: %1</translation>
    </message>
    <message id="str_23006">
        <source>Impact threshold</source>
        <translation>Impact threshold</translation>
    </message>
    <message id="str_23007">
        <source>%1 g</source>
        <translation>%1 g</translation>
    </message>
    <message id="str_23008">
        <source>Export evidence package as zip...</source>
        <translation>Export evidence package as zip...</translation>
    </message>
    <message id="str_23009">
        <source>The evidence package was written to
%1</source>
        <translation>The evidence package was written to
%1</translation>
    </message>
    <message id="str_23010">
        <source>the moment lies outside what the recording holds</source>
        <translation>the moment lies outside what the recording holds</translation>
    </message>
    <message id="str_23011">
        <source>the package would be written among the recordings; choose another folder</source>
        <translation>the package would be written among the recordings; choose another folder</translation>
    </message>
    <message id="str_23012">
        <source>the recording cannot be read</source>
        <translation>the recording cannot be read</translation>
    </message>
    <message id="str_23013">
        <source>the package cannot be written there (is the disk full or read-only?)</source>
        <translation>the package cannot be written there (is the disk full or read-only?)</translation>
    </message>
</context>
</TS>
