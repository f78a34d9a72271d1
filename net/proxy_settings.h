#pragma once
// The proxy settings of the record handed to the download control, off as
// well as on: at the start of every download and when the settings window
// saves, so a proxy switched off there is no longer used.

struct Settings;
class Download_Control;

void HandProxySettings(Download_Control& DC, const Settings& settings);
