#include "web/mdlBrowserAufrufen.h"

#include "widgets/Bilder.h"

#include <QDesktopServices>
#include <QUrl>

void Browser_Aufrufen(QWidget*, const QString& Adresse)
{
    Zeiger_beschaeftigt();
    QDesktopServices::openUrl(QUrl(Adresse)); // the result is not used
    Zeiger_normal(); // whatever the launch did
}
