#include "util/ExtraCode.h"
#include "util/PromptText.h"

#include <QTest>

class TestExtraCode : public QObject {
    Q_OBJECT

private slots:
    void SplitToListPieces_data();
    void SplitToListPieces();
    void SplitToListClearsOldItems();
    void LastPosition_data();
    void LastPosition();
    void FindQuoteFromStart_data();
    void FindQuoteFromStart();
    void FindQuoteKeepsQuoteWhenNoneFound();
    void PosNoCaseFoldsAsciiOnly_data();
    void PosNoCaseFoldsAsciiOnly();
    void SplitAroundHref_data();
    void SplitAroundHref();
    void SplitAroundOtherToken();
    void SplitFailuresLeaveRecord_data();
    void SplitFailuresLeaveRecord();
    void JoinChangesOnlyTargetAndText();
    void LongLinesSurviveSplitAndJoin_data();
    void LongLinesSurviveSplitAndJoin();
    void MoveListItemEdges_data();
    void MoveListItemEdges();
    void PromptLineBreaks_data();
    void PromptLineBreaks();
};

void TestExtraCode::SplitToListPieces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("first");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("plain") << "a,b,c"
                           << "," << 1 << QStringList{"a", "b", "c"};
    QTest::newRow("leading separator") << ",a"
                                       << "," << 1 << QStringList{"", "a"};
    QTest::newRow("double separator") << "a,,b"
                                      << "," << 1 << QStringList{"a", "", "b"};
    // The text's end closes the last piece, so a separator at the end opens
    // one more, empty piece.
    QTest::newRow("trailing separator") << "a,b,"
                                        << "," << 1 << QStringList{"a", "b", ""};
    QTest::newRow("only a separator") << ","
                                      << "," << 1 << QStringList{"", ""};
    QTest::newRow("empty text") << ""
                                << "," << 1 << QStringList{""};
    QTest::newRow("no separator") << "abc"
                                  << "," << 1 << QStringList{"abc"};
    QTest::newRow("from piece 2") << "x,y,z"
                                  << "," << 2 << QStringList{"y", "z"};
    QTest::newRow("from piece 0") << "x,y"
                                  << "," << 0 << QStringList{"x", "y"};
    QTest::newRow("first beyond end") << "x,y"
                                      << "," << 5 << QStringList{};
    QTest::newRow("long separator") << "a<>b<><>c"
                                    << "<>" << 1 << QStringList{"a", "b", "", "c"};
    QTest::newRow("empty separator ends") << "abc"
                                          << "" << 1 << QStringList{"abc"};
}

void TestExtraCode::SplitToListPieces()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(int, first);
    QFETCH(QStringList, pieces);
    QStringList list;
    SplitToList(list, text, separator, first);
    QCOMPARE(list, pieces);
}

void TestExtraCode::SplitToListClearsOldItems()
{
    QStringList list{"old", "items"};
    SplitToList(list, "new", ";", 1);
    QCOMPARE(list, QStringList{"new"});
}

void TestExtraCode::LastPosition_data()
{
    QTest::addColumn<QString>("sub");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");

    QTest::newRow("last backslash") << "\\"
                                    << "C:\\site\\www\\index.html" << 12;
    QTest::newRow("absent") << "/"
                            << "C:\\site" << 0;
    QTest::newRow("longer sub at the end") << "ab"
                                           << "xxabxab" << 6;
    QTest::newRow("sub longer than text") << "abcd"
                                          << "abc" << 0;
    QTest::newRow("at the start") << "ab"
                                  << "abx" << 1;
    QTest::newRow("empty sub") << ""
                               << "abc" << 3;
    QTest::newRow("empty text") << "a"
                                << "" << 0;
    QTest::newRow("case matters") << "A"
                                  << "a" << 0;
}

void TestExtraCode::LastPosition()
{
    QFETCH(QString, sub);
    QFETCH(QString, text);
    QFETCH(int, position);
    QCOMPARE(LastPos(sub, text), position);
}

void TestExtraCode::FindQuoteFromStart_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QChar>("quote");

    QTest::newRow("double quote last") << 1 << "href=\"" << 6 << QChar('"');
    QTest::newRow("apostrophe") << 1 << "a='b'" << 3 << QChar('\'');
    QTest::newRow("at start position") << 3 << "a='b'" << 3 << QChar('\'');
    QTest::newRow("after start position") << 4 << "a='b'" << 5 << QChar('\'');
    QTest::newRow("either kind closes") << 4 << "a=\"b'c\"" << 5 << QChar('\'');
    QTest::newRow("start below one") << 0 << "\"x" << 1 << QChar('"');
}

void TestExtraCode::FindQuoteFromStart()
{
    QFETCH(int, start);
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QChar, quote);
    QChar found = 'x';
    QCOMPARE(FindQuote(start, text, found), position);
    QCOMPARE(found, quote);
}

void TestExtraCode::FindQuoteKeepsQuoteWhenNoneFound()
{
    QChar quote = '#';
    QCOMPARE(FindQuote(1, "no quotes here", quote), 0);
    QCOMPARE(FindQuote(7, "a=\"b\"", quote), 0); // start past the end
    QCOMPARE(FindQuote(1, QString(), quote), 0);
    QCOMPARE(quote, QChar('#'));
}

void TestExtraCode::PosNoCaseFoldsAsciiOnly_data()
{
    QTest::addColumn<QString>("sub");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");

    QTest::newRow("capitals in text") << "href"
                                      << "<A HREF=\"x\">" << 4;
    QTest::newRow("capitals in sub") << "HREF"
                                     << "<a href=\"x\">" << 4;
    QTest::newRow("absent") << "src"
                            << "<a href>" << 0;
    QTest::newRow("empty sub") << ""
                               << "abc" << 0;
    QTest::newRow("non-ASCII not folded")
        << QString::fromUtf8("\xc3\xa9") << QString::fromUtf8("x\xc3\x89") << 0;
    QTest::newRow("non-ASCII exact") << QString::fromUtf8("\xc3\x89") << QString::fromUtf8("x\xc3\x89") << 2;
}

void TestExtraCode::PosNoCaseFoldsAsciiOnly()
{
    QFETCH(QString, sub);
    QFETCH(QString, text);
    QFETCH(int, position);
    QCOMPARE(PosNoCase(sub, text), position);
}

void TestExtraCode::SplitAroundHref_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("tagEnd");
    QTest::addColumn<QString>("linkText");
    QTest::addColumn<QString>("tail");

    QTest::newRow("double quotes") << "href"
                                   << "  <a id=\"dl\" href=\"files/setup-1.0.exe\">Download 1.0</a><br>"
                                   << "  <a id=\"dl\" href=\""
                                   << "files/setup-1.0.exe"
                                   << "\">"
                                   << "Download 1.0"
                                   << "</a><br>";
    QTest::newRow("capital token, apostrophes")
        << "HREF"
        << "  <a id='dl' href='files/setup-1.0.exe'>Download 1.0</a><br>"
        << "  <a id='dl' href='"
        << "files/setup-1.0.exe"
        << "'>"
        << "Download 1.0"
        << "</a><br>";
    QTest::newRow("mixed quotes") << "href"
                                  << "<a href=\"x.exe'>T</a>"
                                  << "<a href=\""
                                  << "x.exe"
                                  << "'>"
                                  << "T"
                                  << "</a>";
    QTest::newRow("attributes after the value") << "href"
                                                << "<a href=\"x.exe\" class=\"b\">Get</a>"
                                                << "<a href=\""
                                                << "x.exe"
                                                << "\" class=\"b\">"
                                                << "Get"
                                                << "</a>";
    QTest::newRow("no closing tag on the line") << "href"
                                                << "<a href=\"x.exe\">Get it"
                                                << "<a href=\""
                                                << "x.exe"
                                                << "\">"
                                                << "Get it"
                                                << "";
    QTest::newRow("empty value") << "href"
                                 << "<a href=\"\">x</a>"
                                 << "<a href=\""
                                 << ""
                                 << "\">"
                                 << "x"
                                 << "</a>";
}

void TestExtraCode::SplitAroundHref()
{
    QFETCH(QString, token);
    QFETCH(QString, line);
    TSplitLine parts;
    QVERIFY(SplitAroundToken(token, line, parts));
    QTEST(parts.Head, "head");
    QTEST(parts.Value, "value");
    QTEST(parts.TagEnd, "tagEnd");
    QTEST(parts.LinkText, "linkText");
    QTEST(parts.Tail, "tail");
    QCOMPARE(JoinSplitLine(parts), line);
}

void TestExtraCode::SplitAroundOtherToken()
{
    TSplitLine parts;
    parts.TagEnd = "keep";
    parts.Tail = "these";
    QVERIFY(SplitAroundToken("$version", "$Version = \"1.2\"; // now", parts));
    QCOMPARE(parts.Head, QString("$Version = \""));
    QCOMPARE(parts.Value, QString("1.2"));
    QCOMPARE(parts.LinkText, QString("\"; // now"));
    QCOMPARE(parts.TagEnd, QString("keep"));
    QCOMPARE(parts.Tail, QString("these"));
}

void TestExtraCode::SplitFailuresLeaveRecord_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("head");
    QTest::addColumn<SplitOutcome>("outcome");

    QTest::newRow("no token") << "<img src=\"a.png\">"
                              << "old" << SplitOutcome::NoToken;
    QTest::newRow("no quote after token") << "\"x\" <a href=x.exe>"
                                          << "old" << SplitOutcome::NoOpeningQuote;
    QTest::newRow("no closing quote") << "<a href=\"files/x.exe>Get</a>"
                                      << "<a href=\"" << SplitOutcome::NoClosingQuote;
    // The tag goes on on the next line: there is no link text to replace.
    QTest::newRow("no tag end on the line") << "<a id=\"dl\" href=\"old.exe\" class=\"b\""
                                            << "<a id=\"dl\" href=\"" << SplitOutcome::NoTagEnd;
}

void TestExtraCode::SplitFailuresLeaveRecord()
{
    QFETCH(QString, line);
    TSplitLine parts{"old", "value", "text", "tail", "end"};
    QTEST(SplitLineAroundToken("href", line, parts), "outcome");
    QVERIFY(!SplitAroundToken("href", line, parts));
    QTEST(parts.Head, "head");
    QCOMPARE(parts.Value, QString("value"));
    QCOMPARE(parts.LinkText, QString("text"));
    QCOMPARE(parts.Tail, QString("tail"));
    QCOMPARE(parts.TagEnd, QString("end"));
}

void TestExtraCode::JoinChangesOnlyTargetAndText()
{
    const QString line = "<p><a id=\"dl\" href=\"files/setup-1.0.exe\" rel=\"x\">Download 1.0</a></p>";
    TSplitLine parts;
    QVERIFY(SplitAroundToken("href", line, parts));
    parts.Value = "files/setup-1.1.exe";
    parts.LinkText = "Download 1.1";
    QCOMPARE(JoinSplitLine(parts),
             QString("<p><a id=\"dl\" href=\"files/setup-1.1.exe\" rel=\"x\">Download 1.1</a></p>"));
}

void TestExtraCode::LongLinesSurviveSplitAndJoin_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("linkTextLength");

    // A minified page keeps much more than 300 characters after the link on
    // one line; writing the joined line back must not cut it off.
    const QString after = QString("<span>x</span>").repeated(40);
    QTest::newRow("long tail") << "<a href=\"s.exe\">Get</a>" + after << 3;
    QTest::newRow("long link text") << "<a href=\"s.exe\">" + QString(400, 'T') + "</a>" << 400;
    QTest::newRow("long value") << "<a href=\"" + QString(500, 'v') + "\">Get</a>" << 3;
}

void TestExtraCode::LongLinesSurviveSplitAndJoin()
{
    QFETCH(QString, line);
    TSplitLine parts;
    QVERIFY(SplitAroundToken("href", line, parts));
    QTEST(int(parts.LinkText.size()), "linkTextLength");
    QCOMPARE(JoinSplitLine(parts), line);
}

void TestExtraCode::MoveListItemEdges_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QChar>("direction");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("expectedSelected");
    QTest::addColumn<bool>("moved");

    const QStringList abc{"a", "b", "c"};
    QTest::newRow("up") << abc << 1 << QChar('u') << QStringList{"b", "a", "c"} << 0 << true;
    QTest::newRow("down, capital letter")
        << abc << 1 << QChar('D') << QStringList{"a", "c", "b"} << 2 << true;
    QTest::newRow("up on first") << abc << 0 << QChar('u') << abc << 0 << false;
    QTest::newRow("down on last") << abc << 2 << QChar('d') << abc << 2 << false;
    QTest::newRow("nothing selected") << abc << -1 << QChar('d') << abc << -1 << false;
    QTest::newRow("selection out of range") << abc << 3 << QChar('u') << abc << 3 << false;
    QTest::newRow("single item") << QStringList{"a"} << 0 << QChar('d') << QStringList{"a"} << 0 << false;
    QTest::newRow("unknown letter") << abc << 1 << QChar('x') << abc << 1 << false;
}

void TestExtraCode::MoveListItemEdges()
{
    QFETCH(QStringList, items);
    QFETCH(int, selected);
    QFETCH(QChar, direction);
    QFETCH(QStringList, expected);
    QFETCH(int, expectedSelected);
    QTEST(MoveListItem(items, selected, direction), "moved");
    QCOMPARE(items, expected);
    QCOMPARE(selected, expectedSelected);
}

void TestExtraCode::PromptLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("lone CR")
        << "Unable to find SignTool.exe\rTo sign your apps you need to install Windows SDK"
        << "Unable to find SignTool.exe\nTo sign your apps you need to install Windows SDK";
    QTest::newRow("CR LF is one break") << "a\r\nb"
                                        << "a\nb";
    QTest::newRow("two CRs") << "a\r\rb"
                             << "a\n\nb";
    QTest::newRow("trailing CR") << "a\r"
                                 << "a\n";
    QTest::newRow("LF untouched") << "a\nb"
                                  << "a\nb";
}

void TestExtraCode::PromptLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(PromptDisplayText(text), shown);
}

QTEST_GUILESS_MAIN(TestExtraCode)
#include "tst_extracode.moc"
