// Takes screenshots of the main window in the states worth looking at, into the folder given
// as the first argument. Run it under Xvfb: xvfb-run -a build/tests/bildschirmfotos /tmp/fotos
#include "book/Buch.h"
#include "book/Infofenster.h"
#include "hilfen.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>

namespace {

QString ziel;
Keyboard* kb = nullptr;

void foto(const QString& name)
{
    QApplication::processEvents();
    QTest::qWait(50);
    // The whole screen, so that message boxes and menus are in the picture as well.
    QGuiApplication::primaryScreen()->grabWindow(0).save(ziel + "/" + name + ".png");
}

// Clicks the key and then photographs, while a message box may be open.
void klickMitMeldung(int taste, const QString& name)
{
    QTimer::singleShot(300, [name] {
        foto(name);
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    tippe(kb, taste);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ziel = argc > 1 ? argv[1] : "fotos";
    QDir().mkpath(ziel);
    Haupt haupt;
    haupt.Randomize(2026);
    haupt.Ton_aus = true;
    Aufnahme ton;
    Keyboard fenster(haupt, ton);
    kb = &fenster;
    // Buttons are pressed by click(): a pointer hovering over them would change the pictures.
    fenster.show();
    if (!QTest::qWaitForWindowExposed(&fenster))
        return 1;
    foto("start");
    for (int k : {0, 12, 39}) {
        tippe(kb, k);
        foto(QString("taste%1").arg(k));
    }
    tippe(kb, 36);
    foto("taste36");
    loese(kb, "mnu_EinzelneTonarten(1)");
    foto("ddur");
    loese(kb, "mnu_EinzelneTonarten(8)");
    tippe(kb, 13);
    foto("asdur");
    loese(kb, "mnu_EinzelneTonarten(14)");
    el<Knopf>(kb, "Funktion1", 1)->click();
    tippe(kb, 22);
    foto("alle_b");
    loese(kb, "mnu_alleC");
    loese(kb, "mnu_mittleresC");
    foto("zeige_c_mittleres_c");
    loese(kb, "mnu_Farbwahl(2)");
    foto("farbwahl3");
    loese(kb, "mnu_Farbwahl(0)");
    el<Knopf>(kb, "Funktion", 6)->click();
    foto("lernen");
    el<Knopf>(kb, "LernTasten", 1)->click();
    foto("lernen_gezogen");
    tippe(kb, haupt.Lernnote_Taste);
    foto("lernen_richtig");
    el<Knopf>(kb, "LernTasten", 9)->click();
    tippe(kb, haupt.Lernnote_Taste == 0 ? 2 : 0);
    foto("lernen_falsch");
    el<Knopf>(kb, "Funktion", 8)->click();
    foto("lernen_zeig_meine");
    el<Knopf>(kb, "LernTasten", 3)->click();
    klickMitMeldung(13, "lernen_schwarz");
    el<Knopf>(kb, "Command1")->click();
    foto("lernen_block");
    el<Knopf>(kb, "Command1")->click();
    foto("lernen_balken");
    el<Knopf>(kb, "Funktion", 7)->click();
    {
        Buch buch(haupt, ton);
        buch.show();
        foto("buch1");
        buch.Schreibe(5);
        foto("buch5");
    }
    for (QDialog* info : {static_cast<QDialog*>(new Pausenzeichen), static_cast<QDialog*>(new Notenlaenge)}) {
        info->show();
        foto(info->objectName());
        delete info;
    }
    return 0;
}
