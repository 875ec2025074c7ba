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
    kb->TheKey_Click(taste);
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
    fenster.show();
    if (!QTest::qWaitForWindowExposed(&fenster))
        return 1;
    foto("start");
    for (int k : {0, 12, 39}) {
        fenster.TheKey_Click(k);
        foto(QString("taste%1").arg(k));
    }
    fenster.TheKey_Click(36);
    foto("taste36");
    fenster.mnu_EinzelneTonarten_Click(1);
    foto("ddur");
    fenster.mnu_EinzelneTonarten_Click(8);
    fenster.TheKey_Click(13);
    foto("asdur");
    fenster.mnu_EinzelneTonarten_Click(14);
    fenster.Funktion1_Click(1);
    fenster.TheKey_Click(22);
    foto("alle_b");
    fenster.mnu_alleC_Click();
    fenster.mnu_mittleresC_Click();
    foto("zeige_c_mittleres_c");
    fenster.mnu_Farbwahl_Click(2);
    foto("farbwahl3");
    fenster.mnu_Farbwahl_Click(0);
    fenster.Funktion_Click(6);
    foto("lernen");
    fenster.LernTasten_Click(1);
    foto("lernen_gezogen");
    fenster.TheKey_Click(haupt.Lernnote_Taste);
    foto("lernen_richtig");
    fenster.LernTasten_Click(9);
    fenster.TheKey_Click(haupt.Lernnote_Taste == 0 ? 2 : 0);
    foto("lernen_falsch");
    fenster.Funktion_Click(8);
    foto("lernen_zeig_meine");
    fenster.LernTasten_Click(3);
    klickMitMeldung(13, "lernen_schwarz");
    fenster.Command1_Click();
    foto("lernen_block");
    fenster.Command1_Click();
    foto("lernen_balken");
    fenster.Funktion_Click(7);
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
