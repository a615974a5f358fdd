Attribute VB_Name = "Pradima"
' The Pradima engine for this workbook. Import this module into the workbook
' (Visual Basic editor: File > Import File), save the workbook as a
' macro-enabled workbook (.xlsm) and open it again: the results sheet is
' brought up to date each time the workbook opens. Give LayOutNumbers and
' CountLo to two buttons on the control sheet, and the table macros below to
' buttons on the tables sheet (code name Sheet4): each writes its table under
' its heading there, from row 2 down; a text address is on that sheet.
'
' It declares nothing from Windows, so it runs the same in 32-bit and
' 64-bit Office; the engine itself must match Office's bitness (install.cmd
' registers both).
Option Explicit

Private engine As Object

' Runs when the workbook opens: creates the engine and appends every day
' missing from the results sheet.
Public Sub Auto_Open()
    StartEngine
End Sub

' Lays out from F3 down the numbers of the set chosen in B4, as the number
' type in B6 ("2 Con" or "3 Con") says.
Public Sub LayOutNumbers()
    If Not StartEngine() Then Exit Sub
    Dim numberType As String
    numberType = CStr(ThisWorkbook.Worksheets(ControlSheetName()).Range("B6").Value)
    On Error GoTo Failed
    engine.kieuSo numberType
    Exit Sub
Failed:
    Report
End Sub

' Counts the lo of the period, region and weekday chosen in B1 to B6 and
' writes the counts beside the listed numbers (G and H) and the day count (F1).
Public Sub CountLo()
    If Not StartEngine() Then Exit Sub
    On Error GoTo Failed
    engine.ThongKeLo
    Exit Sub
Failed:
    Report
End Sub

' The gan table: for each number, when it last came, how long it has been
' away and its longest absence, longest first.
Public Sub LoGanTable()
    Dim lines As Long
    If Not StartEngine() Then Exit Sub
    If Not AskRows(lines) Then Exit Sub
    On Error GoTo Failed
    engine.LoGan "A2", lines
    Exit Sub
Failed:
    Report
End Sub

' The special prizes by week, then their heads, tails and sums.
Public Sub DeByWeek()
    If Not StartEngine() Then Exit Sub
    On Error GoTo Failed
    engine.ThongKeDe "Y2", "tuan"
    Exit Sub
Failed:
    Report
End Sub

' The special prizes by year, then their heads, tails and sums.
Public Sub DeByYear()
    If Not StartEngine() Then Exit Sub
    On Error GoTo Failed
    engine.ThongKeDe "Y2", "nam"
    Exit Sub
Failed:
    Report
End Sub

' The pairs of lo that came together most.
Public Sub LoXienPairs()
    Dim lines As Long
    If Not StartEngine() Then Exit Sub
    If Not AskRows(lines) Then Exit Sub
    On Error GoTo Failed
    engine.LoXien "M2", 2, lines
    Exit Sub
Failed:
    Report
End Sub

' The sets of three lo that came together most.
Public Sub LoXienTriples()
    Dim lines As Long
    If Not StartEngine() Then Exit Sub
    If Not AskRows(lines) Then Exit Sub
    On Error GoTo Failed
    engine.LoXien "M2", 3, lines
    Exit Sub
Failed:
    Report
End Sub

' For each lo: its days, how often it came again the next draw day, its
' current and longest run.
Public Sub LoRoiTable()
    If Not StartEngine() Then Exit Sub
    On Error GoTo Failed
    engine.LoRoi "G2"
    Exit Sub
Failed:
    Report
End Sub

' What came on the draw day after the days with the numbers asked for.
Public Sub BacNhoTable()
    Dim after As Variant, lines As Long
    If Not StartEngine() Then Exit Sub
    ' Excel's own input box, which shows Vietnamese; False when cancelled.
    after = Application.InputBox(Text("Sau c\u00E1c s\u1ED1 (v\u00ED d\u1EE5 27 ho\u1EB7c 27,72):"), "Pradima", "27", Type:=2)
    If VarType(after) = vbBoolean Then Exit Sub
    If Not AskRows(lines) Then Exit Sub
    On Error GoTo Failed
    engine.BacNho "S2", CStr(after), lines
    Exit Sub
Failed:
    Report
End Sub

' How many rows a table shows, 1 to 1000; False when the user cancels.
Private Function AskRows(ByRef lines As Long) As Boolean
    Dim answer As Variant
    answer = Application.InputBox(Text("S\u1ED1 d\u00F2ng (1 \u0111\u1EBFn 1000):"), "Pradima", 20, Type:=1)
    If VarType(answer) = vbBoolean Then Exit Function
    lines = CLng(answer)
    AskRows = True
End Function

' Creates the engine once and hands it the application and this workbook.
Private Function StartEngine() As Boolean
    If Not engine Is Nothing Then
        StartEngine = True
        Exit Function
    End If
    On Error GoTo Failed
    Set engine = CreateObject("Pradima.Sub")
    engine.Sup Application, ThisWorkbook
    StartEngine = True
    Exit Function
Failed:
    Report
End Function

' The tab name of the sheet whose code name is Sheet3, the control sheet.
Private Function ControlSheetName() As String
    Dim sheet As Object
    For Each sheet In ThisWorkbook.Worksheets
        If sheet.CodeName = "Sheet3" Then ControlSheetName = sheet.Name
    Next sheet
End Function

Private Sub Report()
    Dim hint As String
    If Err.Number = 438 Then
        ' An engine older than these macros: it has no such method.
        Popup Text("B\u1ED9 m\u00E1y Pradima \u0111ang c\u00E0i qu\u00E1 c\u0169, ch\u01B0a c\u00F3 l\u1EC7nh n\u00E0y. " & _
                   "H\u00E3y \u0111\u00F3ng Excel, c\u00E0i g\u00F3i Pradima m\u1EDBi (ch\u1EA1y install.cmd) r\u1ED3i m\u1EDF l\u1EA1i s\u1ED5 t\u00EDnh.")
        Exit Sub
    End If
    If Err.Number = 429 Then
        hint = vbCrLf & vbCrLf & "The engine is not installed for this Office: run install.cmd, " & _
               "and open Office normally, not as administrator."
    End If
    MsgBox "Pradima: " & Err.Description & " (error " & Err.Number & ")" & hint, vbExclamation, "Pradima"
End Sub

' A text with \uXXXX escapes, so that this module stays plain ASCII whatever
' the code page the editor imports it with.
Private Function Text(ByVal escaped As String) As String
    Dim at As Long
    at = InStr(escaped, "\u")
    Do While at > 0
        escaped = Left$(escaped, at - 1) & ChrW$(CLng("&H" & Mid$(escaped, at + 2, 4))) & Mid$(escaped, at + 6)
        at = InStr(at + 1, escaped, "\u")
    Loop
    Text = escaped
End Function

' A message box that shows Vietnamese whatever the system's code page, which
' MsgBox would go through.
Private Sub Popup(ByVal message As String)
    CreateObject("WScript.Shell").Popup message, 0, "Pradima", vbExclamation
End Sub
