#pragma once

#include <QGuiApplication>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#include "tests/gemeinsam/Falltabelle.h"
#include "wizard_dialog/frmWizard.h"

/// The dialog's control `name`, or numbered control `name` + `nummer`.
template<typename T = QWidget>
T* element(const frmWizard& d, const QString& name, int nummer = 0)
{
    return d.findChild<T*>(nummer > 0 ? name + QString::number(nummer) : name);
}

/// A click near the left end, where buttons, check boxes and labels take it.
/// The navigation buttons ignore clicks during the double-click interval after
/// a page began, so a click on one of them waits that long first.
inline void klicken(QWidget* w)
{
    if (w->objectName().startsWith(QStringLiteral("cmd")) &&
        w->objectName() != QStringLiteral("cmdHilfe"))
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(qMin(8, w->width() / 2), w->height() / 2));
}

/// Abbrechen, Zurück, Weiter, Fertig stellen, each e (shown and enabled),
/// g (shown, greyed), h (hidden) or x (hidden yet enabled): "eeeh".
inline QString knoepfe(const frmWizard& d)
{
    QString s;
    for (const char* name : {"cmdAbbrechen", "cmdZurück", "cmdWeiter", "cmdFertigstellen"}) {
        const QWidget* k = element(d, QString::fromUtf8(name));
        s += k->isHidden() ? (k->isEnabled() ? u'x' : u'h') : (k->isEnabled() ? u'e' : u'g');
    }
    return s;
}

/// Shows a page of kind `art` with caption `text` (for "userdefiniert" the
/// page's name); its result as text. `a`: entries, second label, box text or
/// heading; `b`: the default; "|" between pieces. For "befehle" `a` holds rows "command,parameter"
/// ("-": no value), `b` the command list unless the usual one; the result is rows alike.
inline QString zeigen(frmWizard& d, QStringView art, const QString& text, QString a = {},
                      QString b = {}, bool zwingend = false, QStringView knoepfe = u"1,1,1,0")
{
    const QList<QStringView> z = knoepfe.split(u',');
    const int n = z[0].toInt(), r = z[1].toInt(), w = z[2].toInt(), f = z[3].toInt();
    const QString t = QStringLiteral("TV-Anwendung verknüpfen");
    if (art == u"befehle") {
        ComboTextTabelle ein(12);
        const QStringList zeilen = a.split(u'|', Qt::SkipEmptyParts);
        for (int i = 0; i < 2 * zeilen.size(); ++i) {
            if (const QString zelle = zeilen[i / 2].section(u',', i % 2, i % 2 ? -1 : 0);
                zelle != u"-")
                ein.setzen(i / 2 + 1, i % 2 + 1, zelle);
        }
        if (b.isEmpty())
            b = QStringLiteral(
                ",AnwendungStarten,FensterAktivieren,Warten,TastenSenden,Terminieren,Beep");
        const ComboTextTabelle aus = d.ShowShapeComboTextEingeben(n, r, w, f, t, text, b, ein);
        QStringList ergebnis;
        for (int k = 1; k <= aus.zeilen(); ++k)
            ergebnis << aus.text(k, 1) + u',' + aus.text(k, 2);
        return ergebnis.join(u'|');
    }
    a.replace(u'|', QStringLiteral("\r\n"));
    b.replace(u'|', QStringLiteral("\r\n"));
    if (art == u"zeile")
        return d.ShowShapeTextzeileEingeben(n, r, w, f, t, text, b, zwingend);
    if (art == u"datei")
        return d.ShowShapeDateiAuswählen(n, r, w, f, t, text, a, b, 1, {}, false, false, zwingend);
    if (art == u"liste" || art == u"mehrfach")
        return d.ShowShapeAusListeAuswählen(n, r, w, f, t, text, a, b, zwingend,
                                            art == u"mehrfach");
    if (art == u"haekchen")
        return d.ShowShapeHäkchenSetzen(n, r, w, f, t, text, a, b == u"ja", zwingend)
                   ? QStringLiteral("ja")
                   : QStringLiteral("nein");
    if (art == u"option")
        return QString::number(d.ShowShapeOptionAuswählen(n, r, w, f, t, text, a, b.toShort()));
    if (art == u"check")
        return d.ShowShapeCheckboxenSetzen(n, r, w, f, t, text, a, b);
    if (art == u"texte")
        return d.ShowShapeTexteEingeben(n, r, w, f, t, text, a, b);
    if (art == u"userdefiniert")
        d.ShowShapeUserdefiniert(n, r, w, f, t, text);
    else
        d.ShowShapeNurAnzeige(n, r, w, f, t, text, a);
    return {};
}

/// A page blocks in its own event loop: `benutzer` acts on it once it shows,
/// and a page still waiting after `ms` is ended (abgelaufen).
struct Wachhund
{
    explicit Wachhund(frmWizard& d, const std::function<void()>& benutzer = {})
        : Wachhund(d, 5000, benutzer)
    {}
    Wachhund(frmWizard& d, int ms, const std::function<void()>& benutzer)
    {
        if (benutzer)
            QTimer::singleShot(0, &zeit, benutzer);
        QTimer::singleShot(ms, &zeit, [this, &d] {
            abgelaufen = true;
            d.SeiteBeenden();
        });
    }
    QObject zeit;
    bool abgelaufen = false;
};
