#pragma once

#include <exception>

#include <QString>

/// An error as the system raises it: a number, the name of the raising
/// procedure and a German message. Caught where the system catches errors
/// and shown as "(number) message".
class Fehler : public std::exception
{
public:
    Fehler(int nummer, QString quelle, QString meldung)
        : m_nummer(nummer)
        , m_quelle(std::move(quelle))
        , m_meldung(std::move(meldung))
        , m_utf8(anzeigetext().toUtf8())
    {}

    int nummer() const { return m_nummer; }
    const QString& quelle() const { return m_quelle; }
    const QString& meldung() const { return m_meldung; }

    /// "(", number, ") ", message: the form in which every catching caller
    /// shows the error.
    QString anzeigetext() const
    {
        return QLatin1Char('(') + QString::number(m_nummer) + QLatin1String(") ") + m_meldung;
    }

    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    int m_nummer;
    QString m_quelle;
    QString m_meldung;
    QByteArray m_utf8;
};
