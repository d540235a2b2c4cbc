// Integer values of INI files, with the behaviour of the Windows profile query that the
// parameter-file readers were written against.
#ifndef KORVEL_CONFIG_PROFILE_INT_H
#define KORVEL_CONFIG_PROFILE_INT_H

// Value of `key` in `section` of the INI file at `path` (reading rules: config/ini_scanner.h).
// Returns `defaultValue` when the file cannot be opened or is not a regular file, or when the
// section or key is missing; a null argument also gives the default. The file is opened, read
// up to the answer and closed on every call: nothing is cached and nothing is written.
int GetPrivateProfileIntA(const char* section, const char* key, int defaultValue, const char* path);

#endif
