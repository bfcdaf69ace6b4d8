<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>HelpDialog</name>
    <message>
        <source>Dorvex %1 help</source>
        <translation>Dorvex-Hilfe (Version %1)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Datei nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Error opening file: %1</source>
        <translation>Fehler beim Öffnen der Datei: %1</translation>
    </message>
    <message>
        <source>help.txt</source>
        <translation>help_de.txt</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <source>default (system locale)</source>
        <translation>Standard (Systemsprache)</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>Really reset settings?</source>
        <translation>Einstellungen wirklich zurücksetzen?</translation>
    </message>
    <message>
        <source>Settings set to defaults!</source>
        <translation>Einstellungen zurückgesetzt!</translation>
    </message>
</context>
</TS>
