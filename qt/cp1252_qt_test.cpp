// The Windows-1252 boundary of the Qt layer.
#include "qt/cp1252_qt.h"

#include <QtTest>

namespace zl {

class Cp1252QtTest : public QObject {
  Q_OBJECT

 private slots:
  void everyByteRoundTrips() {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const QString text = toQString(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text[0x80], QChar(0x20AC));
    QCOMPARE(text[0xE4], QChar(u'ä'));
    QCOMPARE(toCp1252(text), all);
  }

  void unrepresentableCharactersBecomeQuestionMarks() {
    QCOMPARE(toCp1252(QStringLiteral("a\u0416b")), std::string("a?b"));
  }

  void onlyStorableTextFitsALine() {
    QVERIFY(fitsVocabularyLine(QStringLiteral("Grüße, „Zitat“ – 5 €\ttab")));
    QVERIFY(!fitsVocabularyLine(QStringLiteral("zwei\nZeilen")));
    QVERIFY(!fitsVocabularyLine(QStringLiteral("cr\r")));
    QVERIFY(!fitsVocabularyLine(QString(QChar(0))));
    QVERIFY(!fitsVocabularyLine(QStringLiteral("\u0142")));               // ł
    QVERIFY(!fitsVocabularyLine(QString::fromUtf8("\xF0\x9F\x98\x80")));  // emoji, a surrogate pair
    Cp1252Validator validator;
    QString ok = QStringLiteral("Haus");
    QString bad = QStringLiteral("Ha\u0416us");
    int pos = 0;
    QCOMPARE(validator.validate(ok, pos), QValidator::Acceptable);
    QCOMPARE(validator.validate(bad, pos), QValidator::Invalid);
  }
};

}  // namespace zl

QTEST_APPLESS_MAIN(zl::Cp1252QtTest)
#include "cp1252_qt_test.moc"
