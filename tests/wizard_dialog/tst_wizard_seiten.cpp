// The page types driven as a user would: what they show and return, the
// required-input gate and the layout below the caption; and StringStück.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>

#include "Seitenhelfer.h"
#include "wizard_dialog/StringStueck.h"

using namespace Qt::StringLiterals;

class TestWizardSeiten : public QObject
{
    Q_OBJECT
private slots:
    void stuecke_data() { tabelle("stuecke"); }
    void stuecke();
    void ergebnis_data() { tabelle("ergebnis"); }
    void ergebnis();
    void pflichteingabe_data() { tabelle("pflichteingabe"); }
    void pflichteingabe();
    void layout_data() { tabelle("layout"); }
    void layout();

private:
    frmWizard m_dialog;
};

namespace {
void listeKlicken(QListWidget* liste, int i)
{
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                      liste->visualItemRect(liste->item(i)).center());
}
} // namespace

void TestWizardSeiten::stuecke()
{
    QFETCH(QString, text);
    QFETCH(QString, trenner);
    QFETCH(QString, lfWeg);
    QFETCH(QString, stuecke);
    QStringList ist;
    for (int schutz = 0; !text.isEmpty() && schutz < 100; ++schutz)
        ist << StringStück(text, trenner, lfWeg == u"ja");
    QCOMPARE(ist.join(u'|'), stuecke);
    QCOMPARE(StringStück(text, trenner, lfWeg == u"ja"), QString());
    QVERIFY(text.isEmpty());
}

void TestWizardSeiten::ergebnis()
{
    QFETCH(QString, art);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, klicks);
    QFETCH(QString, gezeigt);
    QFETCH(QString, ergebnis);
    QStringList ist;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        auto* liste = element<QListWidget>(m_dialog, u"ShapeAusListeauswählenListe"_s);
        const QRegularExpression eintrag(u"(Label\\d+|HäkchenSetzenCheck)$"_s);
        QList<QWidget*> felder;
        for (QWidget* w : m_dialog.findChildren<QWidget*>()) {
            if (w->isVisible() && eintrag.match(w->objectName()).hasMatch()) {
                felder << w;
                ist << w->property("text").toString();
            }
        }
        for (int i = 0; liste->isVisible() && i < liste->count(); ++i)
            ist << liste->item(i)->text();
        for (const QChar k : klicks) {
            if (liste->isVisible())
                listeKlicken(liste, k.digitValue() - 1);
            else
                klicken(felder.at(k.digitValue() - 1));
        }
        klicken(m_dialog, u"cmdWeiter"_s);
    });
    const QString rueckgabe = zeigen(m_dialog, art, u"Frage"_s, a, b);
    QVERIFY(!wachhund.abgelaufen && m_dialog.blnBenutzerWeiterGedrückt);
    QCOMPARE(ist.join(u'|'), gezeigt);
    QCOMPARE(rueckgabe, ergebnis);
}

void TestWizardSeiten::pflichteingabe()
{
    QFETCH(QString, art);
    QFETCH(QString, vorgabe);
    QFETCH(QString, zustand);
    QFETCH(QString, vorher);
    QFETCH(QString, nachher);
    QString istVorher, istNachher;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        istVorher = knoepfe(m_dialog);
        auto* feld = element<QLineEdit>(m_dialog, u"ShapeDateinameAuswählenDateiname"_s);
        if (art == u"liste")
            listeKlicken(element<QListWidget>(m_dialog, u"ShapeAusListeauswählenListe"_s), 1);
        else if (art == u"haekchen")
            klicken(m_dialog, u"ShapeHäkchenSetzenCheck"_s);
        else
            QTest::keyClicks(feld, feld->text().trimmed().isEmpty() ? u"x"_s : u"\b\b\b"_s);
        istNachher = knoepfe(m_dialog);
        m_dialog.SeiteBeenden();
    });
    zeigen(m_dialog, art, u"Frage"_s, u"a|b"_s, vorgabe, true, zustand);
    QVERIFY(!wachhund.abgelaufen);
    QCOMPARE(istVorher, vorher);
    QCOMPARE(istNachher, nachher);
}

// Shown below a short and a long caption, the page's controls keep their gaps
// below the caption, which is as high as its text needs.
void TestWizardSeiten::layout()
{
    QFETCH(QString, art);
    QFETCH(QString, a);
    QFETCH(QString, fokus);
    QFETCH(QString, folge);
    folge.replace(u'Z', QString::number(QFontMetrics(m_dialog.font()).height()));
    const QString lang = u"Bitte geben Sie den Fenstertitel der TV-Anwendung an. "_s.repeated(4) +
                         u"\r\n\r\nAchten Sie auf Groß- und Kleinschreibung."_s;
    for (const QString& text : {u"Kurz."_s, lang}) {
        QString istFokus, istFolge;
        QRect seite, beschriftung, liste;
        Wachhund wachhund(m_dialog);
        spaeter([&] {
            istFokus = m_dialog.focusWidget()->objectName();
            const QWidget* s = nullptr;
            for (const QLabel* l : m_dialog.findChildren<QLabel*>()) {
                if (l->isVisible() && l->text() == QString(text).replace(u"\r\n"_s, u"\n"_s)) {
                    s = l->parentWidget();
                    seite = s->geometry();
                    if (l->height() == l->heightForWidth(l->width()))
                        beschriftung = l->geometry();
                }
            }
            // The page's controls and the editor's rows, named by what follows
            // the part their names share with the page's.
            QList<std::pair<QRect, QString>> teile;
            const QString name = s->objectName();
            for (const QWidget* w : s->findChildren<QWidget*>()) {
                const QWidget* p = w->parentWidget();
                if (!w->isVisible() || w->inherits("QScrollArea") ||
                    (p != s && !p->objectName().endsWith(u"Flaeche")))
                    continue;
                qsizetype n = 0;
                while (n < qMin(name.size(), w->objectName().size()) &&
                       w->objectName().at(n) == name.at(n))
                    ++n;
                teile.append({QRect(w->mapTo(s, QPoint()), w->size()), w->objectName().mid(n)});
            }
            std::sort(teile.begin(), teile.end(), [](const auto& x, const auto& y) {
                return std::pair(x.first.y(), x.first.x()) < std::pair(y.first.y(), y.first.x());
            });
            int unten = -1, oben = -1;
            for (const auto& [r, teil] : teile) {
                istFolge += u' ' + teil +
                            (r.y() == oben ? u"="_s : QString::asprintf("%+d", r.y() - unten - 1));
                oben = r.y();
                unten = r.bottom();
                liste = teil == u"Liste" ? r : liste;
            }
            m_dialog.SeiteBeenden();
        });
        zeigen(m_dialog, art, text, a);
        QVERIFY(!wachhund.abgelaufen);
        const Twips t(m_dialog);
        QCOMPARE(istFokus, fokus);
        QCOMPARE(istFolge.trimmed(), folge);
        QCOMPARE(seite.topLeft(), QPoint(t.x(2055), t.y(75)));
        QCOMPARE(beschriftung.width(), t.x(5910));
        if (art == u"liste")
            QCOMPARE(liste.bottom() + 1 + 3, seite.height());
    }
}

QTEST_MAIN(TestWizardSeiten)
#include "tst_wizard_seiten.moc"
