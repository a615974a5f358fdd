@echo off
rem Installs Pradima for the current user, without administrator rights:
rem copies both DLLs to %LOCALAPPDATA%\Programs\Pradima and registers each
rem for this user with the regsvr32 of its own bitness, so that 64-bit and
rem 32-bit Office each find theirs. uninstall.cmd removes what this adds.
setlocal EnableExtensions
set "SOURCE=%~dp0"
set "TARGET=%LOCALAPPDATA%\Programs\Pradima"
set FAILED=0

call "%SOURCE%bitness.cmd"

echo Installing Pradima for %USERNAME% into %TARGET%
for %%B in (x64 x86) do (
  if not exist "%TARGET%\%%B" mkdir "%TARGET%\%%B"
  copy /y "%SOURCE%%%B\Pradima.dll" "%TARGET%\%%B\Pradima.dll" >nul
  if errorlevel 1 (
    echo FAILED: could not copy %%B\Pradima.dll to %TARGET%\%%B
    set FAILED=1
  )
)
if "%FAILED%"=="1" goto :end

if defined REGSVR_X64 (
  "%REGSVR_X64%" /s /n /i:user "%TARGET%\x64\Pradima.dll"
  if errorlevel 1 (
    echo FAILED: the 64-bit DLL could not be registered for 64-bit Office
    set FAILED=1
  ) else (
    echo Registered the 64-bit DLL for 64-bit Office
  )
) else (
  echo Skipped the 64-bit DLL: this Windows runs no 64-bit programs
)
if defined REGSVR_X86 (
  "%REGSVR_X86%" /s /n /i:user "%TARGET%\x86\Pradima.dll"
  if errorlevel 1 (
    echo FAILED: the 32-bit DLL could not be registered for 32-bit Office
    set FAILED=1
  ) else (
    echo Registered the 32-bit DLL for 32-bit Office
  )
) else (
  echo Skipped the 32-bit DLL: this system runs no 32-bit programs
)

:end
if "%FAILED%"=="1" (
  echo Pradima is NOT fully installed; see the lines above.
  exit /b 1
)
echo Pradima is installed. Open your workbook in Office, not as administrator.
exit /b 0
