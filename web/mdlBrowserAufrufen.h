// Opens a web address in the user's default browser.
#pragma once

#include <QString>

class QWidget;

// The calling window stays as it is; nothing is reported back.
void Browser_Aufrufen(QWidget* hWnd, const QString& Adresse);
