@echo off
rem Removes what install.cmd added: the per-user registration of both DLLs
rem and their copies in %LOCALAPPDATA%\Programs\Pradima.
setlocal EnableExtensions
set "SOURCE=%~dp0"
set "TARGET=%LOCALAPPDATA%\Programs\Pradima"
set FAILED=0

call "%SOURCE%bitness.cmd"

echo Removing Pradima for %USERNAME% from %TARGET%
if defined REGSVR_X64 if exist "%TARGET%\x64\Pradima.dll" (
  "%REGSVR_X64%" /s /u /n /i:user "%TARGET%\x64\Pradima.dll"
  if errorlevel 1 (
    echo FAILED: the 64-bit DLL could not be unregistered
    set FAILED=1
  ) else (
    echo Unregistered the 64-bit DLL
  )
)
if defined REGSVR_X86 if exist "%TARGET%\x86\Pradima.dll" (
  "%REGSVR_X86%" /s /u /n /i:user "%TARGET%\x86\Pradima.dll"
  if errorlevel 1 (
    echo FAILED: the 32-bit DLL could not be unregistered
    set FAILED=1
  ) else (
    echo Unregistered the 32-bit DLL
  )
)
if "%FAILED%"=="1" (
  echo The DLLs are left in %TARGET%, since they are still registered.
  exit /b 1
)
if exist "%TARGET%" rmdir /s /q "%TARGET%"
if exist "%TARGET%" (
  echo FAILED: could not delete %TARGET% ^(is Office still open?^)
  exit /b 1
)
echo Pradima is removed.
exit /b 0
