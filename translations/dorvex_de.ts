<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AlarmDays</name>
    <message>
        <source>Once</source>
        <translation>Einmal</translation>
    </message>
    <message>
        <source>Every day</source>
        <translation>Täglich</translation>
    </message>
</context>
<context>
    <name>AlarmNotices</name>
    <message>
        <source>%1 min</source>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 Std. %2 Min.</translation>
    </message>
    <message>
        <source>Due at %1, %2 ago</source>
        <translation>Fällig um %1, vor %2</translation>
    </message>
    <message>
        <source>Missed: alarm %1, due %2 %3</source>
        <translation>Verpasst: Alarm %1, fällig %2 %3</translation>
    </message>
</context>
<context>
    <name>AlarmNotification</name>
    <message>
        <source>Alarm %1 at %2</source>
        <translation>Alarm %1 um %2</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Schlummern</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>AlarmTextDialog</name>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Enter text to show when alarm %1 fires:</source>
        <translation>Text, der bei Alarm %1 angezeigt wird:</translation>
    </message>
    <message>
        <source>Every day</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Mon–Fri</source>
        <translation>Mo–Fr</translation>
    </message>
    <message>
        <source>Once</source>
        <translation>Einmal</translation>
    </message>
</context>
<context>
    <name>AutostartEntry</name>
    <message>
        <source>The folder cannot be created.</source>
        <translation>Der Ordner kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Dorvex could not change its start at log-in in %1:
%2</source>
        <translation>Dorvex konnte den Start bei der Anmeldung in %1 nicht ändern:
%2</translation>
    </message>
</context>
<context>
    <name>AutostartOffer</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
</context>
<context>
    <name>ExpirationDialog</name>
    <message>
        <source>Bip - bip!!</source>
        <translation>Piep - piep!!</translation>
    </message>
    <message>
        <source>Alarm expired</source>
        <translation>Alarm ausgelöst</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>Alarm &quot;%1&quot; expired!</source>
        <translation>Alarm „%1“ ausgelöst!</translation>
    </message>
    <message>
        <source>Alarm %1: %2</source>
        <translation>Alarm %1: %2</translation>
    </message>
    <message>
        <source>Click anywhere or press Escape to dismiss.</source>
        <translation>Zum Beenden irgendwo klicken oder Escape drücken.</translation>
    </message>
    <message numerus="yes">
        <source>Snooze %n min</source>
        <translation>
            <numerusform>Schlummern %n Min.</numerusform>
            <numerusform>Schlummern %n Min.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HelpDialog</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Dorvex %1 help</source>
        <translation>Dorvex %1 – Hilfe</translation>
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
        <extracomment>The name of the help file in this language, beside the program.</extracomment>
        <translation>help_de.txt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Alarm &amp;1</source>
        <translation>Alarm &amp;1</translation>
    </message>
    <message>
        <source>Alarm &amp;2</source>
        <translation>Alarm &amp;2</translation>
    </message>
    <message>
        <source>Alarm &amp;3</source>
        <translation>Alarm &amp;3</translation>
    </message>
    <message>
        <source>When checked, disallow modifications on alarm 1</source>
        <translation>Wenn angehakt, lässt sich Alarm 1 nicht ändern</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>Sperren</translation>
    </message>
    <message>
        <source>When checked, enable alarm 1</source>
        <translation>Wenn angehakt, ist Alarm 1 eingeschaltet</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>When checked, disallow modifications on alarm 2</source>
        <translation>Wenn angehakt, lässt sich Alarm 2 nicht ändern</translation>
    </message>
    <message>
        <source>When checked, enable alarm 2</source>
        <translation>Wenn angehakt, ist Alarm 2 eingeschaltet</translation>
    </message>
    <message>
        <source>When checked, disallow modifications on alarm 3</source>
        <translation>Wenn angehakt, lässt sich Alarm 3 nicht ändern</translation>
    </message>
    <message>
        <source>When checked, enable alarm 3</source>
        <translation>Wenn angehakt, ist Alarm 3 eingeschaltet</translation>
    </message>
    <message>
        <source>Send application to tray</source>
        <translation>Programm in den Infobereich der Kontrollleiste verschieben</translation>
    </message>
    <message>
        <source>To &amp;tray</source>
        <translation>In &amp;Leiste</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>Quit application</source>
        <translation>Programm beenden</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>hh:mm:ss</source>
        <translation>hh:mm:ss</translation>
    </message>
    <message>
        <source>When checked, disable all alarms</source>
        <translation>Wenn angehakt, sind alle Alarme ausgeschaltet</translation>
    </message>
    <message>
        <source>&amp;Disable all alarms</source>
        <translation>Alle Alarme a&amp;usschalten</translation>
    </message>
    <message>
        <source>Set alarm 1 text</source>
        <translation>Text für Alarm 1 festlegen</translation>
    </message>
    <message>
        <source>Set alarm 2 text</source>
        <translation>Text für Alarm 2 festlegen</translation>
    </message>
    <message>
        <source>Set alarm 3 text</source>
        <translation>Text für Alarm 3 festlegen</translation>
    </message>
    <message>
        <source>Test alarm 1</source>
        <translation>Alarm 1 testen</translation>
    </message>
    <message>
        <source>Test alarm 2</source>
        <translation>Alarm 2 testen</translation>
    </message>
    <message>
        <source>Test alarm 3</source>
        <translation>Alarm 3 testen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>About &amp;Qt</source>
        <translation>Über &amp;Qt</translation>
    </message>
    <message>
        <source>&amp;Restore window</source>
        <translation>Fenster &amp;wiederherstellen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Application settings</source>
        <translation>Programmeinstellungen</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Dorvex %1</source>
        <translation>Dorvex %1</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>dorvex %1 by Ostrevan</source>
        <translation>dorvex %1 von Ostrevan</translation>
    </message>
    <message>
        <source>Dou you want to exit?</source>
        <translation>Möchten Sie das Programm beenden?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>The alarm settings could not be saved to %1.
Changes made since the last save are lost.</source>
        <translation>Die Alarmeinstellungen konnten nicht in %1 gespeichert werden.
Die Änderungen seit dem letzten Speichern gehen verloren.</translation>
    </message>
    <message>
        <source>About Dorvex %1</source>
        <translation>Über Dorvex %1</translation>
    </message>
    <message>
        <source>Dorvex %1 by Ostrevan

Free software, provided as is, without any warranty.</source>
        <translation>Dorvex %1 von Ostrevan

Freie Software, bereitgestellt ohne jede Gewähr.</translation>
    </message>
    <message>
        <source>Alarms ring only while Dorvex runs. Start it when you log in?</source>
        <translation>Alarme klingeln nur, während Dorvex läuft. Bei der Anmeldung starten?</translation>
    </message>
    <message>
        <source>Start at &amp;log-in</source>
        <translation>Bei Anmeldung &amp;starten</translation>
    </message>
    <message>
        <source>&amp;No, thanks</source>
        <translation>&amp;Nein, danke</translation>
    </message>
    <message>
        <source>Dorvex: the alarm settings could not be saved to %1.</source>
        <translation>Dorvex: Die Weckereinstellungen konnten nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Lock alarm 1</source>
        <translation>Alarm 1 sperren</translation>
    </message>
    <message>
        <source>Enable alarm 1</source>
        <translation>Alarm 1 aktiv</translation>
    </message>
    <message>
        <source>Lock alarm 2</source>
        <translation>Alarm 2 sperren</translation>
    </message>
    <message>
        <source>Enable alarm 2</source>
        <translation>Alarm 2 aktiv</translation>
    </message>
    <message>
        <source>Lock alarm 3</source>
        <translation>Alarm 3 sperren</translation>
    </message>
    <message>
        <source>Enable alarm 3</source>
        <translation>Alarm 3 aktiv</translation>
    </message>
    <message>
        <source>Text of alarm 1</source>
        <translation>Text von Alarm 1</translation>
    </message>
    <message>
        <source>Text of alarm 2</source>
        <translation>Text von Alarm 2</translation>
    </message>
    <message>
        <source>Text of alarm 3</source>
        <translation>Text von Alarm 3</translation>
    </message>
    <message>
        <source>Alarm 1 clock</source>
        <translation>Uhr von Alarm 1</translation>
    </message>
    <message>
        <source>Alarm 2 clock</source>
        <translation>Uhr von Alarm 2</translation>
    </message>
    <message>
        <source>Alarm 3 clock</source>
        <translation>Uhr von Alarm 3</translation>
    </message>
    <message>
        <source>Alarms need Dorvex running.</source>
        <translation>Alarme nur, wenn Dorvex läuft.</translation>
    </message>
    <message>
        <source>All alarms are disabled</source>
        <translation>Alle Alarme sind ausgeschaltet</translation>
    </message>
    <message>
        <source>No alarm will ring</source>
        <translation>Kein Alarm wird klingeln</translation>
    </message>
    <message>
        <source>%1: Saved settings.</source>
        <translation>%1: Einstellungen gespeichert.</translation>
    </message>
    <message>
        <source>%1: Could not save settings!</source>
        <translation>%1: Einstellungen konnten nicht gespeichert werden!</translation>
    </message>
</context>
<context>
    <name>MyAnalogClock</name>
    <message>
        <source>%1, %2</source>
        <extracomment>A clock face read out: its caption (such as &quot;Alarm 1 clock&quot;), then its time.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>NextAlarmText</name>
    <message>
        <source>No alarm armed</source>
        <translation>Kein Alarm aktiv</translation>
    </message>
    <message>
        <source>Next alarm: %1 at %2, %3</source>
        <translation>Nächster Alarm: %1 um %2, %3</translation>
    </message>
    <message>
        <source>Not armed</source>
        <translation>Nicht aktiv</translation>
    </message>
    <message>
        <source>Rings at %1 %2</source>
        <translation>Klingelt %2 um %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message>
        <source>in %1 min</source>
        <translation>in %1 Min.</translation>
    </message>
    <message>
        <source>in %1 h %2 min</source>
        <translation>in %1 Std. %2 Min.</translation>
    </message>
    <message>
        <source>today</source>
        <translation>heute</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>morgen</translation>
    </message>
    <message>
        <source>on %1</source>
        <translation>am %1</translation>
    </message>
    <message>
        <source>Next alarm: %1, %2, %3</source>
        <translation>Nächster Alarm: %1, %2, %3</translation>
    </message>
    <message>
        <source>Alarm %1 snoozed until %2</source>
        <translation>Alarm %1 schlummert bis %2</translation>
    </message>
    <message>
        <source>%1, wakes the computer</source>
        <translation>%1, weckt den Rechner</translation>
    </message>
    <message>
        <source>%1 at %2, next %3 %4</source>
        <translation>%1 um %2, nächster %3 %4</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Alarms</source>
        <translation>A&amp;larme</translation>
    </message>
    <message>
        <source>&amp;Scale clock image</source>
        <translation>Uhrbild s&amp;kalieren</translation>
    </message>
    <message>
        <source>Play the default &quot;beep&quot; sound when alarm fires</source>
        <translation>Beim Alarm den Standard-Piepton des Systems abspielen</translation>
    </message>
    <message>
        <source>Make a &quot;&amp;beep&quot; sound on alarm</source>
        <translation>Bei Alarm &amp;piepen</translation>
    </message>
    <message>
        <source>Show a button that allows testing an alarm (to see how it&apos;ll be shown)</source>
        <translation>Schaltflächen zeigen, mit denen sich ein Alarm testen lässt (um zu sehen, wie er erscheint)</translation>
    </message>
    <message>
        <source>Show &quot;&amp;test alarm&quot; buttons</source>
        <translation>Schaltflächen „Alarm &amp;testen“ zeigen</translation>
    </message>
    <message>
        <source>User &amp;interface</source>
        <translation>&amp;Oberfläche</translation>
    </message>
    <message>
        <source>Send window to tray when clicking on window&apos;s minimize button</source>
        <translation>Das Fenster beim Minimieren in den Infobereich der Kontrollleiste verschieben</translation>
    </message>
    <message>
        <source>&amp;Minimize to tray</source>
        <translation>Beim &amp;Minimieren ausblenden</translation>
    </message>
    <message>
        <source>Send window to tray when clicking on window&apos;s close button</source>
        <translation>Das Fenster beim Schließen in den Infobereich der Kontrollleiste verschieben</translation>
    </message>
    <message>
        <source>&amp;Close to tray</source>
        <translation>Beim &amp;Schließen ausblenden</translation>
    </message>
    <message>
        <source>Put application on tray when it is started</source>
        <translation>Das Programm beim Start gleich in den Infobereich der Kontrollleiste legen</translation>
    </message>
    <message>
        <source>&amp;Start to tray</source>
        <translation>Ausgeblendet st&amp;arten</translation>
    </message>
    <message>
        <source>Ask for confirmation when quitting application</source>
        <translation>Vor dem Beenden des Programms nachfragen</translation>
    </message>
    <message>
        <source>Confirm e&amp;xit</source>
        <translation>&amp;Beenden bestätigen</translation>
    </message>
    <message>
        <source>Language (requires program restart)</source>
        <translation>Sprache (gilt nach Neustart des Programms)</translation>
    </message>
    <message>
        <source>Set settings to default values</source>
        <translation>Alle Einstellungen auf die Standardwerte zurücksetzen</translation>
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
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Really reset settings?</source>
        <translation>Einstellungen wirklich zurücksetzen?</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Settings set to defaults!</source>
        <translation>Die Einstellungen sind auf die Standardwerte zurückgesetzt.</translation>
    </message>
    <message>
        <source>Let the desktop start Dorvex each time you log in, so that no alarm is missed after a restart</source>
        <translation>Dorvex bei jeder Anmeldung vom Desktop starten lassen, damit nach einem Neustart kein Alarm verpasst wird</translation>
    </message>
    <message>
        <source>Start Dorvex when I &amp;log in</source>
        <translation>Dorvex bei der Anmel&amp;dung starten</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Scale the picture to the largest size at which it shows whole (never distorted)</source>
        <translation>Das Bild so groß zeigen, wie es ganz auf den Bildschirm passt (nie verzerrt)</translation>
    </message>
    <message>
        <source>Snooze &amp;length:</source>
        <translation>Schlummer&amp;dauer:</translation>
    </message>
    <message>
        <source>How long a snoozed alarm waits before it rings again</source>
        <translation>Wie lange ein schlummernder Alarm wartet, bis er wieder klingelt</translation>
    </message>
    <message>
        <source> min</source>
        <translation> Min.</translation>
    </message>
    <message>
        <source>&amp;Wake the computer from sleep for alarms</source>
        <translation>Rechner zum Alarm aus dem Ruhezustand &amp;wecken</translation>
    </message>
    <message>
        <source>Wake the computer from sleep a minute before the next alarm rings</source>
        <translation>Weckt den Rechner eine Minute vor dem nächsten Alarm aus dem Ruhezustand</translation>
    </message>
    <message>
        <source>Needs the wake-up helper&apos;s capability: run sudo setcap cap_wake_alarm+ep %1</source>
        <translation>Braucht die Berechtigung des Weckhelfers: führen Sie sudo setcap cap_wake_alarm+ep %1 aus</translation>
    </message>
    <message>
        <source>Waking is not working: %1</source>
        <translation>Das Wecken funktioniert nicht: %1</translation>
    </message>
    <message>
        <source>Needs the wake-up helper&apos;s capability.</source>
        <translation>Braucht die Berechtigung des Weckhelfers.</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Dorvex is already running: its window has been brought to the front.</source>
        <translation>Dorvex läuft bereits: Sein Fenster wurde nach vorn geholt.</translation>
    </message>
    <message>
        <source>Dorvex is already running but does not answer; this start ends here.</source>
        <translation>Dorvex läuft bereits, antwortet aber nicht; dieser Start endet hier.</translation>
    </message>
    <message>
        <source>Dorvex: the runtime folder &quot;%1&quot; cannot be used, so a single copy of Dorvex cannot be guaranteed.</source>
        <translation>Dorvex: Der Laufzeitordner &quot;%1&quot; ist nicht nutzbar, daher kann nicht sichergestellt werden, dass Dorvex nur einmal läuft.</translation>
    </message>
</context>
<context>
    <name>WakeUps</name>
    <message>
        <source>the wake-up helper %1 lacks its capability</source>
        <translation>dem Weckhelfer %1 fehlt seine Berechtigung</translation>
    </message>
    <message>
        <source>the wake-up helper %1 is missing or stopped</source>
        <translation>der Weckhelfer %1 fehlt oder wurde beendet</translation>
    </message>
</context>
</TS>
