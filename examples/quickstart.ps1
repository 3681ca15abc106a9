# Kovar3 quick start in PowerShell: who and where, a registry value, an INI file, a DLL's
# version. Outputs come back through [ref] variables.
#
#   powershell -ExecutionPolicy Bypass -File quickstart.ps1
# A 64-bit PowerShell uses the 64-bit build, the 32-bit one (SysWOW64) the 32-bit build.
$ops = New-Object -ComObject Kovar3.Ops
$ini = New-Object -ComObject Kovar3.INIEdit

# 1. Who and where. GetOpVersion hands the version back through its parameter.
"User $($ops.GetCurUser()) on $($ops.GetCompName())"
$version = $null
if ($ops.GetOpVersion([ref]$version) -eq 0) {
    "Windows $($version[1]).$($version[2]) build $($version[3])"
}

# 2. A registry value and its type code ("S" is text).
$data = $null; $kind = $null
if ($ops.RegGetValue('HKLM', 'Software\Microsoft\Windows NT\CurrentVersion', 'ProductName',
                     [ref]$data, [ref]$kind) -eq 0) {
    "Product: $data (type $kind)"
}

# 3. An INI value written and read back. INIEdit writes only into files that exist.
$path = Join-Path $env:TEMP 'kovar3-quickstart.ini'
New-Item -ItemType File -Path $path -Force | Out-Null
if ($ini.WriteIniVal($path, 'Settings', 'Colour', 'blue')) {
    "INI value: $($ini.GetIniVal($path, 'Settings', 'Colour'))"
}
Remove-Item $path

# 4. A system DLL described by its version resource.
$pe = $ops.GetPEFile((Join-Path ([Environment]::SystemDirectory) 'kernel32.dll'))
"$($pe.Name) $($pe.FileVersion), $($pe.Size) KB"
