@echo off
rem Removes what install.cmd registered: both builds, for you only, or with /machine for every
rem user of this computer (from an elevated prompt). Nothing of Kovar3 is left in the registry
rem afterwards; the files stay where they are.
rem   uninstall.cmd             what "install.cmd" wrote
rem   uninstall.cmd /machine    what "install.cmd /machine" wrote
call "%~dp0install.cmd" /u %*
