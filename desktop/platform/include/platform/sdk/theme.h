// The theme: named strings, integers and images that give the screens their look. The current theme
// is the global configuration's "theme" key (default "Contrast"); its values come from
// "/ebrmain/themes/<name>/theme.cfg" (key-value syntax).
#pragma once

const char* GetThemeString(const char* key, const char* default_value);
int GetThemeInt(const char* key, int default_value);
const char* CurrentThemeName();
void ReloadTheme();
