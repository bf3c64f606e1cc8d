; The uninstaller's part in "Open with": the keys the installer added (openWithInstall.nsh),
; and .csv's OpenWithList and .csv itself only when nothing else is left in them.
DeleteRegKey HKLM "Software\Classes\Applications\skerrow.exe"
DeleteRegKey HKLM "Software\Classes\.csv\OpenWithList\skerrow.exe"
DeleteRegKey /ifempty HKLM "Software\Classes\.csv\OpenWithList"
DeleteRegKey /ifempty HKLM "Software\Classes\.csv"
