#include "util/FileMask.h"
#include "util/MyFileOpsU.h"

#include <QTest>

namespace {

// Writes a Windows example in the given style: "\" becomes the style's separator.
QString InStyle(const QString& windowsPath, const PathStyle& style)
{
    QString path = windowsPath;
    path.replace(QLatin1Char('\\'), style.Separator());
    return path;
}

} // namespace

class TestPathText : public QObject {
    Q_OBJECT

private slots:
    void ResolveDotDotInBothStyles_data();
    void ResolveDotDotInBothStyles();
    void ResolveDotDotIgnoresOtherSeparator();
    void TrailingSlash_data();
    void TrailingSlash();
    void SeparatorConversions();
    void PathComparison_data();
    void PathComparison();
    void Masks_data();
    void Masks();
};

void TestPathText::ResolveDotDotInBothStyles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("resolved");

    QTest::newRow("one parent") << "C:\\site\\www\\..\\img\\a.png"
                                << "C:\\site\\img\\a.png";
    QTest::newRow("two parents in a row") << "C:\\a\\b\\..\\..\\c"
                                          << "C:\\c";
    QTest::newRow("two apart") << "C:\\x\\a\\..\\xa\\..\\y"
                               << "C:\\x\\y";
    QTest::newRow("nothing to do") << "C:\\site\\index.html"
                                   << "C:\\site\\index.html";
    QTest::newRow("single dot kept") << "C:\\site\\.\\a.html"
                                     << "C:\\site\\.\\a.html";
    QTest::newRow("trailing dot-dot kept") << "C:\\site\\www\\.."
                                           << "C:\\site\\www\\..";
    QTest::newRow("dot-dot inside a name") << "C:\\a..\\b\\..x\\c"
                                           << "C:\\a..\\b\\..x\\c";
    QTest::newRow("relative start kept") << "..\\img\\a.png"
                                         << "..\\img\\a.png";
    QTest::newRow("no separator before it") << "\\..\\img\\a.png"
                                            << "\\..\\img\\a.png";
    QTest::newRow("bare drive") << "C:\\..\\a"
                                << "C:\\..\\a";
    QTest::newRow("above the root") << "C:\\a\\..\\..\\b"
                                    << "C:\\..\\b";
    QTest::newRow("unresolved then resolved") << "C:\\..\\a\\b\\..\\c"
                                              << "C:\\..\\a\\c";
    QTest::newRow("parent is dot-dot") << "\\..\\..\\x"
                                       << "\\..\\..\\x";
    QTest::newRow("relative with a parent") << "a\\..\\b"
                                            << "a\\..\\b";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("only dot-dots") << "\\..\\..\\..\\"
                                   << "\\..\\..\\..\\";
}

void TestPathText::ResolveDotDotInBothStyles()
{
    QFETCH(QString, path);
    QFETCH(QString, resolved);
    for (const PathStyle& style : {PathStyle::Windows(), PathStyle::Posix()}) {
        QString text = InStyle(path, style);
        ResolveDotDot(text, style);
        QCOMPARE(text, InStyle(resolved, style));
    }
}

void TestPathText::ResolveDotDotIgnoresOtherSeparator()
{
    QString windows = "C:\\site/www/../a.png";
    ResolveDotDot(windows, PathStyle::Windows());
    QCOMPARE(windows, QString("C:\\site/www/../a.png"));
    QString posix = "/site\\www\\..\\a.png";
    ResolveDotDot(posix, PathStyle::Posix());
    QCOMPARE(posix, QString("/site\\www\\..\\a.png"));
}

void TestPathText::TrailingSlash_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");

    QTest::newRow("added") << "public_html"
                           << "public_html/";
    QTest::newRow("already there") << "public_html/"
                                   << "public_html/";
    QTest::newRow("empty") << ""
                           << "/";
    QTest::newRow("backslash is not a slash") << "www\\"
                                              << "www\\/";
}

void TestPathText::TrailingSlash()
{
    QFETCH(QString, text);
    QTEST(IncludeTrailingSlash(text), "result");
}

void TestPathText::SeparatorConversions()
{
    QString local = "C:\\site\\public_html\\img\\a b.png";
    BackslashesToSlashes(local);
    QCOMPARE(local, QString("C:/site/public_html/img/a b.png"));
    SlashesToBackslashes(local);
    QCOMPARE(local, QString("C:\\site\\public_html\\img\\a b.png"));
    QString server = "//double//";
    SlashesToBackslashes(server);
    QCOMPARE(server, QString("\\\\double\\\\"));
}

void TestPathText::PathComparison_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("sameOnWindows");
    QTest::addColumn<bool>("sameOnPosix");

    QTest::newRow("identical") << "C:\\site\\a.html"
                               << "C:\\site\\a.html" << true << true;
    QTest::newRow("letter case") << "C:\\Site\\A.HTML"
                                 << "c:\\site\\a.html" << true << false;
    QTest::newRow("accented case") << QString::fromUtf8("\xc3\x89t\xc3\xa9.html")
                                   << QString::fromUtf8("\xc3\xa9T\xc3\x89.HTML") << true << false;
    QTest::newRow("prefix only") << "C:\\site\\a.html"
                                 << "C:\\site\\a.htm" << false << false;
}

void TestPathText::PathComparison()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, sameOnWindows);
    QFETCH(bool, sameOnPosix);
    const PathStyle windows = PathStyle::Windows();
    const PathStyle posix = PathStyle::Posix();
    QCOMPARE(windows.SamePath(a, b), sameOnWindows);
    QCOMPARE(windows.LookupKey(a) == windows.LookupKey(b), sameOnWindows);
    QCOMPARE(posix.SamePath(a, b), sameOnPosix);
    QCOMPARE(posix.LookupKey(a) == posix.LookupKey(b), sameOnPosix);
}

void TestPathText::Masks_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matchesWindows");
    QTest::addColumn<bool>("matchesPosix");

    QTest::newRow("*.* with extension") << "*.*"
                                        << "index.html" << true << true;
    QTest::newRow("*.* without extension") << "*.*"
                                           << "README" << true << true;
    QTest::newRow("*.* hidden file") << "*.*"
                                     << ".htaccess" << true << true;
    QTest::newRow("base.* plain") << "signtool.*"
                                  << "signtool.exe" << true << true;
    QTest::newRow("base.* no extension") << "signtool.*"
                                         << "signtool" << true << true;
    QTest::newRow("base.* other case") << "signtool.*"
                                       << "SignTool.exe" << true << false;
    QTest::newRow("base.* longer name") << "signtool.*"
                                        << "signtoolx.exe" << false << false;
    QTest::newRow("extension mask") << "*.htm?"
                                    << "a.html" << true << true;
    QTest::newRow("question mark needs a char") << "a.htm?"
                                                << "a.htm" << false << false;
    QTest::newRow("star in the middle") << "a*z.txt"
                                        << "abcz.txt" << true << true;
    QTest::newRow("many stars") << "*a*a*a*b"
                                << "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaac" << false << false;
    QTest::newRow("exact") << "index.html"
                           << "index.html" << true << true;
}

void TestPathText::Masks()
{
    QFETCH(QString, mask);
    QFETCH(QString, name);
    QTEST(MaskMatches(mask, name, Qt::CaseInsensitive), "matchesWindows");
    QTEST(MaskMatches(mask, name, Qt::CaseSensitive), "matchesPosix");
}

QTEST_GUILESS_MAIN(TestPathText)
#include "tst_pathtext.moc"
