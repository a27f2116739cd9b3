#pragma once

#include <functional>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "wizard_dialog/frmWizard.h"

// Driving wizard pages as a user would: a page blocks in its own event loop,
// so the user's actions are queued on timers before the call.

inline const QString Befehlsliste =
    QStringLiteral(",AnwendungStarten,FensterAktivieren,Warten,TastenSenden,Terminieren,Beep");

/// Runs `aktion` `ms` milliseconds from now, inside whatever loop runs then.
inline void spaeter(std::function<void()> aktion, int ms = 0)
{
    QTimer::singleShot(ms, std::move(aktion));
}

/// The dialog's control `name`, or numbered control `name` + `nummer`.
template<typename T = QWidget>
T* element(const frmWizard& dialog, const QString& name, int nummer = 0)
{
    return dialog.findChild<T*>(nummer > 0 ? name + QString::number(nummer) : name);
}

inline QPushButton* knopf(const frmWizard& dialog, const QString& name)
{
    return element<QPushButton>(dialog, name);
}

/// A click near the left end, where buttons, check boxes and labels all take it.
inline void klicken(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(qMin(8, w->width() / 2), w->height() / 2));
}

/// Abbrechen, Zurück, Weiter and Fertig stellen, each v(isible) or h(idden)
/// and e(nabled) or g(reyed): "ve ve ve hg".
inline QString knoepfe(const frmWizard& dialog)
{
    QStringList s;
    for (const char* name : {"cmdAbbrechen", "cmdZurück", "cmdWeiter", "cmdFertigstellen"}) {
        const QPushButton* k = knopf(dialog, QString::fromUtf8(name));
        s << QString(k->isHidden() ? u'h' : u'v') + (k->isEnabled() ? u'e' : u'g');
    }
    return s.join(u' ');
}

/// Shows a page of kind `art` with the caption `text` and returns its result
/// as text. `a` holds the entries (list, options, boxes, text-field captions),
/// the second label, the box text or the heading; `b` the default. Pieces in
/// `a` and `b` are separated by "|". For the command-step editor `a` holds the
/// rows as "command,parameter" ("-" a cell without value), `b` the command
/// list if not the wizard's; the result is the rows in the same form.
inline QString zeigen(frmWizard& d, QStringView art, const QString& text, QString a = {},
                      QString b = {}, bool zwingend = false, const QList<int>& z = {1, 1, 1, 0})
{
    const QString crlf = QStringLiteral("\r\n");
    a.replace(u'|', crlf);
    const int n = z[0], r = z[1], w = z[2], f = z[3];
    const QString t = QStringLiteral("TV-Anwendung verknüpfen");
    if (art == u"befehle") {
        ComboTextTabelle ein(12);
        const QStringList zeilen = a.isEmpty() ? QStringList() : a.split(crlf);
        for (int k = 1; k <= zeilen.size(); ++k) {
            for (int s = 1; s <= 2; ++s) {
                const QString zelle = zeilen.at(k - 1).section(u',', s - 1, s == 1 ? 0 : -1);
                if (zelle != u"-")
                    ein.setzen(k, s, zelle);
            }
        }
        const ComboTextTabelle aus =
            d.ShowShapeComboTextEingeben(n, r, w, f, t, text, b.isEmpty() ? Befehlsliste : b, ein);
        QStringList ergebnis;
        for (int k = 1; k <= aus.zeilen(); ++k)
            ergebnis << aus.text(k, 1) + u',' + aus.text(k, 2);
        return ergebnis.join(u'|');
    }
    b.replace(u'|', crlf);
    if (art == u"zeile")
        return d.ShowShapeTextzeileEingeben(n, r, w, f, t, text, b, zwingend);
    if (art == u"datei")
        return d.ShowShapeDateiAuswählen(n, r, w, f, t, text, a, b, 1, {}, false, false, zwingend);
    if (art == u"liste" || art == u"mehrfach")
        return d.ShowShapeAusListeAuswählen(n, r, w, f, t, text, a, b, zwingend,
                                            art == u"mehrfach");
    if (art == u"haekchen")
        return QString::fromUtf8(
            d.ShowShapeHäkchenSetzen(n, r, w, f, t, text, a, b == u"ja", zwingend) ? "ja" : "nein");
    if (art == u"option")
        return QString::number(d.ShowShapeOptionAuswählen(n, r, w, f, t, text, a, b.toShort()));
    if (art == u"check")
        return d.ShowShapeCheckboxenSetzen(n, r, w, f, t, text, a, b);
    if (art == u"texte")
        return d.ShowShapeTexteEingeben(n, r, w, f, t, text, a, b);
    d.ShowShapeNurAnzeige(n, r, w, f, t, text, a);
    return {};
}

/// Ends a page that the test did not end itself, so a fault cannot hang the
/// run; `abgelaufen` tells that it had to.
struct Wachhund
{
    explicit Wachhund(frmWizard& dialog, int ms = 5000)
    {
        QTimer::singleShot(ms, &zeit, [this, &dialog] {
            abgelaufen = true;
            dialog.SeiteBeenden();
        });
    }
    QObject zeit;
    bool abgelaufen = false;
};
