; The installer's part in "Open with": Skerrow in the list of programs that open .csv files,
; for all users, without taking .csv's default (whose own value is never written). Included
; by CPack's installer script inside its install section (CMakeLists.txt).
WriteRegStr HKLM "Software\Classes\Applications\skerrow.exe" "FriendlyAppName" "Skerrow"
WriteRegStr HKLM "Software\Classes\Applications\skerrow.exe\SupportedTypes" ".csv" ""
WriteRegStr HKLM "Software\Classes\Applications\skerrow.exe\shell\open\command" "" '"$INSTDIR\skerrow.exe" "%1"'
WriteRegStr HKLM "Software\Classes\.csv\OpenWithList\skerrow.exe" "" ""
