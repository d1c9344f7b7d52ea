// Opening a film file through the system's open dialog, and the film's properties.
#pragma once

// Prepares the open-file dialog's record (at the main window's creation).
void PrepareOpenDialog();
void OpenFilmFile();
void ShowFilmProperties();
