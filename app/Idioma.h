#pragma once

// The program speaks Mexican Spanish, and so must Qt's own windows and words (the file picker, the Cancel of every
// question, the calendar's months and days, the context menus): loads Qt's Spanish translations and sets the
// locale, once for the whole run.
void usaEspanolDeMexico();
