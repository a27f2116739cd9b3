// tvverknuepfen: the wizard that links a TV application to the Sendaro.
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include "script/x11/X11Verbindung.h"
#include "system/Fehler.h"
#include "system/Programmordner.h"
#include "wizard/Assistent.h"
#include "wizard/EchteUmgebung.h"
#include "wizard/FormSeiten.h"
#include "wizard_dialog/QtUebersetzung.h"
#include "wizard_dialog/frmWizard.h"

using namespace Qt::StringLiterals;

namespace {
/// Whether another platform than the X server was asked for (tests run the
/// wizard on Qt's offscreen platform).
bool anderePlattform(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    }
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv)
{
    // Qt aborts when it cannot open the display; tell the user in German.
    if (!anderePlattform(argc, argv)) {
        const X11Verbindung probe;
        if (!probe.offen()) {
            std::fprintf(
                stderr, "tvverknuepfen: %s\n",
                (probe.fehlermeldung() + u" Der Assistent braucht eine grafische Oberfläche."_s)
                    .toLocal8Bit()
                    .constData());
            return 1;
        }
    }

    QApplication app(argc, argv);
    QtUebersetzungLaden();
    // Programs a definition starts run in the program folder, so that it can
    // name files beside it by a relative name.
    QDir::setCurrent(AppPfad());

    EchteUmgebung umgebung;
    frmWizard form;
    FormSeiten seiten(form);
    Assistent assistent(seiten, umgebung);
    try {
        assistent.ausfuehren();
    } catch (const Fehler& fehler) {
        form.hide();
        QMessageBox::critical(nullptr, assistent.zustand().Assistententitel, fehler.anzeigetext());
        return 1;
    }
    return 0;
}
