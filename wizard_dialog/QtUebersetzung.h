#pragma once

/// Loads Qt's own German texts (the buttons and captions of the file
/// choosers and message boxes) into the running application, whatever the
/// user's language. Every program that shows the wizard dialog calls it once
/// after creating its QApplication; further calls do nothing. Returns false
/// when Qt's translations are not installed: Qt's texts then stay English.
bool QtUebersetzungLaden();
