#ifndef DORVEX_APPCONSTANTS_H
#define DORVEX_APPCONSTANTS_H

// Value of the "language" setting that means: follow the operating system.
inline constexpr char defaultLanguageCode[] = "default";
// Language value of the built-in English entry of the language list.
inline constexpr char englishLanguageCode[] = "en";

inline constexpr char defaultAlarmText1[] = "alarm 1";
inline constexpr char defaultAlarmText2[] = "alarm 2";
inline constexpr char defaultAlarmText3[] = "alarm 3";

// Identity of the settings store and of the application.
inline constexpr char organizationName[] = "Ostrevan";
inline constexpr char organizationDomain[] = "ostrevan.org";
inline constexpr char applicationName[] = "dorvex";

#endif
