@echo off
rem Registers Kovar3 so that scripts can create Kovar3.Ops and Kovar3.INIEdit.
rem
rem   install.cmd             for you only: needs no administrator rights
rem   install.cmd /machine    for every user of this computer: run it from an elevated prompt
rem
rem On 64-bit Windows both builds are registered: x64\kovar3.dll for 64-bit hosts
rem (C:\Windows\System32\cscript.exe, 64-bit Office, PowerShell) and x86\kovar3.dll for 32-bit
rem hosts (C:\Windows\SysWOW64\cscript.exe, 32-bit Office). On 32-bit Windows only the 32-bit
rem build is. The registration names the DLLs where they are: keep this folder where it is, and
rem run install.cmd again after moving it. uninstall.cmd (the same switch) removes it all.
rem Exit code: 0 done, 1 a build could not be registered, 2 an unknown switch.
setlocal
set "here=%~dp0"
set "me=install.cmd"
set "undo="
set "done=registered"
if /i "%~1"=="/u" set "me=uninstall.cmd"
if /i "%~1"=="/u" set "undo=/u"
if /i "%~1"=="/u" set "done=unregistered"
if /i "%~1"=="/u" shift
set "flags=/n /i:user"
set "whom=for you"
set "hint= Run check.vbs to see what is registered."
if /i "%~1"=="/machine" set "flags="
if /i "%~1"=="/machine" set "whom=for every user of this computer"
if /i "%~1"=="/machine" set "hint= For every user, run this from an elevated prompt (Run as administrator)."
if /i "%~1"=="/machine" shift
if not "%~1"=="" goto usage

rem On 64-bit Windows the 32-bit regsvr32 is SysWOW64's and the 64-bit one System32's, which a
rem 32-bit command prompt (PROCESSOR_ARCHITEW6432 set) reaches as Sysnative.
set "regsvr64="
set "regsvr32=%SystemRoot%\System32\regsvr32.exe"
if /i "%PROCESSOR_ARCHITECTURE%"=="x86" if not defined PROCESSOR_ARCHITEW6432 goto found_regsvr
set "regsvr64=%SystemRoot%\System32\regsvr32.exe"
set "regsvr32=%SystemRoot%\SysWOW64\regsvr32.exe"
if defined PROCESSOR_ARCHITEW6432 set "regsvr64=%SystemRoot%\Sysnative\regsvr32.exe"
:found_regsvr

set "failed=0"
if defined regsvr64 call :regsvr "%regsvr64%" "%here%x64\kovar3.dll" 64-bit
call :regsvr "%regsvr32%" "%here%x86\kovar3.dll" 32-bit
if "%failed%"=="1" goto end
if defined undo echo Kovar3 is unregistered %whom%.
if not defined undo echo Kovar3 is installed %whom%. Try: cscript //nologo "%here%examples\quickstart.vbs"
goto end

:regsvr
if exist "%~2" goto regsvr_dll_found
echo %~3 build: "%~2" is missing. Unpack the whole archive, then run this again from the unpacked folder.
set "failed=1"
goto :eof
:regsvr_dll_found
if exist "%~1" goto regsvr_found
echo %~3 build: not %done%, "%~1" is missing: this Windows cannot run %~3 programs.
set "failed=1"
goto :eof
:regsvr_found
"%~1" /s %undo% %flags% "%~2"
set "code=%errorlevel%"
if not "%code%"=="0" goto regsvr_failed
echo %~3 build: %done% %whom%: "%~2"
goto :eof
:regsvr_failed
echo %~3 build: FAILED, regsvr32 ended with code %code%.%hint%
set "failed=1"
goto :eof

:usage
echo Usage: %me% [/machine]
echo   Without a switch for you only; with /machine for every user of this computer.
set "failed=2"

:end
exit /b %failed%
