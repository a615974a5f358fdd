#!/usr/bin/env python3
"""Pradima.bas calls exactly the members the type library declares, each with
the arguments the DLL takes (Sup with two objects, kieuSo with one text,
ThongKeLo with none; the optional ones may be left out), stays plain ASCII,
and tells the user to install the new package when the engine is too old to
have a method (error 438)."""
import re
import sys

idl_path, bas_path = sys.argv[1], sys.argv[2]
idl = open(idl_path, encoding="utf-8").read()
declared = {name: params for name, params in re.findall(r"HRESULT\s+(\w+)\((.*?)\);", idl, re.S)}
# Parameters, counted once their attributes ([in, out]) are set aside.
unattributed = {name: re.sub(r"\[[^\]]*\]", "", params) for name, params in declared.items()}
expected_arguments = {name: (0 if not p.strip() else p.count(",") + 1) for name, p in unattributed.items()}
required_arguments = {name: expected_arguments[name] - params.count("optional") for name, params in declared.items()}

module = open(bas_path, encoding="utf-8").read()
problems = []
if not module.startswith('Attribute VB_Name = "Pradima"'):
    problems.append("the module must start with its VB_Name attribute to be imported")
if re.search(r"^\s*(Private |Public )?Declare ", module, re.M):
    problems.append("a Declare statement would need PtrSafe for 64-bit VBA")

calls = re.findall(r"^\s*engine\.(\w+)(.*)$", module, re.M)
called = {name for name, _ in calls}
if called != set(declared):
    problems.append(f"members called {sorted(called)}, declared {sorted(declared)}")
for name, rest in calls:
    arguments = [a for a in rest.split(",") if a.strip()]
    if name in expected_arguments and not required_arguments[name] <= len(arguments) <= expected_arguments[name]:
        problems.append(f"{name} called with {len(arguments)} arguments, declared with {expected_arguments[name]}")
sup = [rest for name, rest in calls if name == "Sup"]
if sup and [a.strip() for a in sup[0].split(",")] != ["Application", "ThisWorkbook"]:
    problems.append("Sup must get the application and this workbook: " + sup[0])
kieu = [rest for name, rest in calls if name == "kieuSo"]
if kieu:
    variable = kieu[0].strip()
    if not re.search(rf"Dim {variable} As String", module):
        problems.append(f"kieuSo must get text: {variable} is not declared As String")
if 'CreateObject("Pradima.Sub")' not in module:
    problems.append('the engine must be created by its ProgID, CreateObject("Pradima.Sub")')

if not module.isascii():
    problems.append("the module must be plain ASCII: the editor imports it in the system's code page")
escaped = "".join(re.findall(r'Text\("([^"]*)"', module))
for escape in re.findall(r"\\u(.{0,4})", escaped):
    if not re.fullmatch(r"[0-9A-Fa-f]{4}", escape):
        problems.append(f"a text escape \\u{escape} is not four hexadecimal digits")
report = re.search(r"Private Sub Report\(\)(.*?)End Sub", module, re.S)
if not report or not re.search(r"If Err.Number = 438 Then\s+'[^\n]*\n\s+Popup Text\(", report.group(1)):
    problems.append("Report must tell the user to install the new package on error 438")
# Every macro that calls the engine reports its errors.
for macro in re.findall(r"^Public Sub \w+\(\)(.*?)^End Sub", module, re.M | re.S):
    if re.search(r"^\s*engine\.", macro, re.M) and not re.search(r"On Error GoTo Failed.*Failed:\s+Report", macro, re.S):
        problems.append("a macro calls the engine without reporting its errors: " + macro.strip().splitlines()[0])

for p in problems:
    print("Pradima.bas:", p, file=sys.stderr)
sys.exit(1 if problems else 0)
