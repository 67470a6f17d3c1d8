// Qt's own locale data is the reference, in every locale Qt knows: the window's defaults and
// worked example are written as QLocale writes them, what QLocale writes reads back to the number
// QLocale reads, and no text reads as a number other than QLocale's.
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <algorithm>
#include <numeric>
#include <optional>
#include <random>

#include "number_format.h"
#include "quorvane.h"

namespace {

std::optional<double> Read(const QString& text, const quorvane::NumberFormat& format) {
    try {
        return quorvane::TextToDouble(text.toStdString(), format);
    } catch (const quorvane::ConversionError&) {
        return std::nullopt;
    }
}

// The characters a text in `locale` may be made of: its digits and ASCII ones, its separators
// and their keyboard stand-ins, signs, blanks and the exponent.
QStringList AlphabetOf(const QLocale& locale) {
    QStringList alphabet = {".", ",", "'", " ", "\u00A0", "\u202F", "-", "+", "\u2212", "E"};
    const char32_t zero = locale.zeroDigit().toUcs4().value(0);
    for (char32_t digit = 0; digit < 10; ++digit) {
        const char32_t local = zero + digit;
        alphabet << QString::number(int(digit)) << QString::fromUcs4(&local, 1)
                 << QString::number(int(digit));  // ASCII digits twice: numbers, mostly
    }
    alphabet << locale.decimalPoint() << locale.groupSeparator() << locale.negativeSign()
             << locale.positiveSign() << "\u066B"
             << "\u066C";
    return alphabet;
}

// Whether a text QLocale reads is one we refuse on purpose, as the README lists them: a grouped
// integer part led by 0, grouping before an exponent, a separator inside the exponent, digits
// of more than one script.
bool KnownRefusal(const QString& text, const QLocale& locale) {
    const QList<uint> chars = text.trimmed().toUcs4();
    const QList<uint> signs =
        (locale.negativeSign() + locale.positiveSign() + "+-\u2212" + locale.decimalPoint() + "E")
            .toUcs4();
    const auto separator = [&](uint c) {
        return QChar::digitValue(c) < 0 && !signs.contains(c) && !QChar::isMark(c) &&
               QChar::category(c) != QChar::Other_Format;  // bidi marks
    };
    const auto exponent = std::find(chars.begin(), chars.end(), U'E');
    const bool groupedMantissa = std::any_of(chars.begin(), exponent, separator);
    const auto firstDigit =
        std::find_if(chars.begin(), exponent, [](uint c) { return QChar::digitValue(c) >= 0; });
    const bool ledByZero = firstDigit != exponent && QChar::digitValue(*firstDigit) == 0;
    const auto zero = [](uint c) {
        return QChar::digitValue(c) < 0 ? 0 : c - QChar::digitValue(c);
    };
    const auto firstZero = std::accumulate(chars.begin(), chars.end(), 0u,
                                           [&](uint z, uint c) { return z ? z : zero(c); });
    const auto otherScript = [&](uint c) { return zero(c) && zero(c) != firstZero; };
    return (groupedMantissa && (ledByZero || exponent != chars.end())) ||
           std::any_of(exponent, chars.end(), separator) ||
           std::any_of(chars.begin(), chars.end(), otherScript);
}

}  // namespace

class LocaleTest : public QObject {
    Q_OBJECT

    std::mt19937_64 random{20261208};
    int refusedWhereQtReads = 0;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

  private slots:
    void everyLocale_data() {
        QTest::addColumn<QLocale>("locale");
        const auto all = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                  QLocale::AnyTerritory);
        QCOMPARE(all.size(), 624);  // Qt 6.4's list; a new Qt may know more
        for (const QLocale& locale : all)
            QTest::newRow(qPrintable(locale.bcp47Name() + " " + locale.name())) << locale;
    }

    void everyLocale() {
        QFETCH(QLocale, locale);
        QLocale plain = locale;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);

        // The window built in this locale: defaults and result as QLocale writes them.
        QLocale::setDefault(locale);
        quorvane::Quorvane window;
        QLocale::setDefault(QLocale::c());
        QCOMPARE(window.findChild<QLineEdit*>("D")->text(), plain.toString(997.01, 'f', 2));
        QCOMPARE(window.findChild<QLineEdit*>("H")->text(), plain.toString(30.0, 'f', 0));
        QCOMPARE(window.findChild<QLineEdit*>("P")->text(), plain.toString(6.983, 'f', 3));

        // What QLocale writes in fixed notation reads back as QLocale reads it. Qt 6.4 refuses
        // its own negative numbers where the minus carries a bidirectional mark (Arabic): there
        // the C locale's reading of the same digits is the reference.
        const quorvane::NumberFormat format = quorvane::NumberFormatOf(locale);
        std::uniform_real_distribution<double> exponent(-3.0, 12.0);
        for (int i = 0; i < 200; ++i) {
            const double value = (pick(4) ? 1 : -1) * std::pow(10.0, exponent(random));
            for (const QLocale* writer : {&locale, &plain}) {
                const int decimals = pick(6);
                const QString text = writer->toString(value, 'f', decimals);
                bool ok = false;
                double expected = locale.toDouble(text, &ok);
                if (!ok)
                    expected = QLocale::c().toDouble(QLocale::c().toString(value, 'f', decimals));
                QCOMPARE(Read(text, format), std::optional(expected));
            }
        }

        // Random texts of the locale's alphabet: where QLocale reads a number, we read the same
        // one or refuse the text.
        const QStringList alphabet = AlphabetOf(locale);
        for (int i = 0; i < 2000; ++i) {
            QString text;
            for (int length = 1 + pick(8); length > 0; --length)
                text += alphabet[pick(int(alphabet.size()))];
            bool ok = false;
            const double expected = locale.toDouble(text, &ok);
            if (!ok) continue;
            const std::optional<double> got = Read(text, format);
            if (!got) {
                QVERIFY2(KnownRefusal(text, locale), qPrintable("refused \"" + text + "\""));
                ++refusedWhereQtReads;
            }
            QVERIFY2(!got || *got == expected, qPrintable(QString("\"%1\" read as %2, Qt: %3")
                                                              .arg(text)
                                                              .arg(got.value_or(0), 0, 'g', 17)
                                                              .arg(expected, 0, 'g', 17)));
        }
    }

    void cleanupTestCase() {
        qInfo("%d random texts that QLocale reads were refused", refusedWhereQtReads);
    }
};

QTEST_MAIN(LocaleTest)
#include "locale_test.moc"
