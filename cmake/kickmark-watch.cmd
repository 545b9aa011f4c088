@echo off
rem Keeps each practice you save: start it once, leave it running beside the game, and type
rem kickmark_save in the host's console after each practice. Ctrl+C (or closing the window) stops it.
rem Read as UTF-8, so that the paths below may hold any character.
chcp 65001 >nul

rem The two paths to edit once, keeping the quotes:
rem where the host saves shots.csv (for BakkesMod, the data folder inside its own folder),
set "SHOTS=%APPDATA%\bakkesmod\bakkesmod\data\shots.csv"
rem and the folder that keeps your sessions, the chart and the page.
set "KEEP=%USERPROFILE%\Documents\Kickmark"

rem The page shows the newest chart and follows each save; open it once and leave it open.
if exist "%KEEP%\kickmark.html" start "" "%KEEP%\kickmark.html"
"%~dp0kickmark-report.exe" --watch --keep "%KEEP%" --svg "%KEEP%\chart.svg" --html "%KEEP%\kickmark.html" "%SHOTS%"
pause
