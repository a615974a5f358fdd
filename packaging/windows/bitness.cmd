@echo off
rem Finds the regsvr32 of each bitness, whichever bitness this command
rem prompt itself runs in: REGSVR_X64 and REGSVR_X86, unset where the system
rem cannot run programs of that bitness.
set "REGSVR_X64="
set "REGSVR_X86="
if defined PROCESSOR_ARCHITEW6432 (
  rem a 32-bit prompt on 64-bit Windows: System32 is the 32-bit one here
  set "REGSVR_X64=%SystemRoot%\Sysnative\regsvr32.exe"
  set "REGSVR_X86=%SystemRoot%\System32\regsvr32.exe"
) else if /i "%PROCESSOR_ARCHITECTURE%"=="x86" (
  set "REGSVR_X86=%SystemRoot%\System32\regsvr32.exe"
) else (
  set "REGSVR_X64=%SystemRoot%\System32\regsvr32.exe"
  if exist "%SystemRoot%\SysWOW64\regsvr32.exe" set "REGSVR_X86=%SystemRoot%\SysWOW64\regsvr32.exe"
)
