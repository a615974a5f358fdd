Attribute VB_Name = "Pradima"
' The Pradima engine for this workbook. Import this module into the workbook
' (Visual Basic editor: File > Import File), save the workbook as a
' macro-enabled workbook (.xlsm) and open it again: the results sheet is
' brought up to date each time the workbook opens. Give LayOutNumbers and
' CountLo to two buttons on the control sheet.
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
    If Err.Number = 429 Then
        hint = vbCrLf & vbCrLf & "The engine is not installed for this Office: run install.cmd, " & _
               "and open Office normally, not as administrator."
    End If
    MsgBox "Pradima: " & Err.Description & " (error " & Err.Number & ")" & hint, vbExclamation, "Pradima"
End Sub
