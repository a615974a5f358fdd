' A late-bound client as a workbook's macros are: every variable a Variant,
' passed by reference.
Option Explicit
Dim host, app, book, engine, numberType, caption

Sub Check(actual, expected, what)
  If actual <> expected Then
    WScript.Echo what & ": expected [" & expected & "], got [" & actual & "]"
    WScript.Quit 1
  End If
End Sub

Set host = CreateObject("PradimaTest.Host")
Set app = host.Application
Set book = host.Workbook
Set engine = CreateObject("Pradima.Sub")
engine.Sup app, book
Check host.DragAndDrop, False, "cell dragging during the session"

numberType = "2 Con"
engine.kieuSo numberType
Check host.Cell("Sheet3", "F3"), "00", "first listed number"
Check host.Cell("Sheet3", "F102"), "99", "last listed number"
Check numberType, "2 Con", "kieuSo leaves its argument as it was"

engine.ThongKeLo
caption = host.Cell("Sheet3", "F1")
Check Right(caption, 3), ": 0", "day count caption (" & caption & ")"

Set engine = Nothing
Check host.DragAndDrop, True, "cell dragging after the session"

Set engine = CreateObject("Pradima.Sub")
On Error Resume Next
engine.ThongKeLo
Check Err.Number, 91, "ThongKeLo before Sup"
Check Err.Description, "the spreadsheet application is not bound", "its description"
On Error GoTo 0

'Wine's cscript ends a script that fails at run time with exit code 0, so
' success has its own code.
WScript.Echo "script client passed"
WScript.Quit 3
