#pragma once

class QComboBox;
class QLineEdit;

// A capture box: what the user types or pastes comes in capitals (accented letters and Ñ included).
// The vertical bar is left out: it separates the fields of the information file.
void makeCaptureBox(QLineEdit* box);
// A box that only shows: read-only, with the window's background so that it does not look like one to type into,
// and passed over by Tab (a click still puts the cursor there, to select and copy).
void makeDisplayBox(QLineEdit* box);

// Keeps a key combo and a name combo on the same position, whoever moves either of them; digits typed into the key
// combo pick the first item whose number starts with them.
void pairCombos(QComboBox* keys, QComboBox* names);
