#include "site/EditorLaunch.h"

#include "util/ExtraCode.h"
#include "util/Prompts.h"

#include <QFileInfo>
#include <QProcess>

namespace {

QString LineNumberOf(const QString& detailItem)
{
    const qsizetype colon = detailItem.indexOf(QLatin1Char(':'));
    return colon >= 0 ? detailItem.left(colon) : detailItem;
}

QString EditorName(const QString& editorPath)
{
    // Either separator: the path may have been typed in either style.
    const qsizetype sep =
        qMax(editorPath.lastIndexOf(QLatin1Char('/')), editorPath.lastIndexOf(QLatin1Char('\\')));
    return LowerAscii(editorPath.mid(sep + 1));
}

QString Quoted(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

} // namespace

TEditTarget EditTargetFromFiles(const QStringList& items, int selected)
{
    TEditTarget target;
    if (selected < 0 || selected >= items.size())
        return target;
    target.Chosen = true;
    target.File = items[selected];
    return target;
}

TEditTarget EditTargetFromBrokenLinks(const QStringList& items, int selected)
{
    TEditTarget target;
    if (selected < 0 || selected >= items.size())
        return target;
    target.Chosen = true;
    if (selected % 2 == 1) {
        target.File = items[selected - 1];
        target.LineNumber = LineNumberOf(items[selected]);
    } else {
        target.File = items[selected];
        if (selected + 1 < items.size())
            target.LineNumber = LineNumberOf(items[selected + 1]);
    }
    return target;
}

TEditorCommand EditorCommandLine(const QString& editorPath, const QString& file, const QString& lineNumber)
{
    TEditorCommand command;
    command.Program = editorPath;
    const QString name = EditorName(editorPath);
    const bool hasLine = !lineNumber.isEmpty();
    QStringList options;
    if (name == QLatin1String("notepad++.exe"))
        options << QStringLiteral("-n") + lineNumber;
    else if (name == QLatin1String("mew32.exe"))
        options << QStringLiteral("-l") + lineNumber;
    else if (hasLine && (name == QLatin1String("gedit") || name == QLatin1String("geany") ||
                         name == QLatin1String("vim") || name == QLatin1String("gvim")))
        options << QStringLiteral("+") + lineNumber;
    else if (hasLine && name == QLatin1String("kate"))
        options << QStringLiteral("-l") << lineNumber;

    if (hasLine && name == QLatin1String("code")) {
        // Visual Studio Code takes the line as part of the file argument.
        command.Arguments << QStringLiteral("-g") << file + QLatin1Char(':') + lineNumber;
        command.Parameters = QStringLiteral("-g ") + Quoted(file + QLatin1Char(':') + lineNumber);
        return command;
    }
    command.Arguments = options;
    command.Arguments << file;
    for (const QString& option : options)
        command.Parameters += option + QLatin1Char(' ');
    command.Parameters += Quoted(file);
    return command;
}

bool IsTextFile(const QString& file, const QString& textFileExtensions)
{
    const qsizetype nameStart =
        qMax(file.lastIndexOf(QLatin1Char('/')), file.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return false;
    return textFileExtensions.contains(QLatin1Char('|') + file.mid(dot) + QLatin1Char('|'));
}

TEditPlan PlanEdit(const QString& editorPath, const TEditTarget& target, const QString& textFileExtensions)
{
    TEditPlan plan;
    const QString setIt =
        QStringLiteral("Please set the location of your text editor in the external programs tab");
    if (editorPath.isEmpty()) {
        plan.Message = setIt;
        return plan;
    }
    if (!QFileInfo(editorPath).isFile()) {
        plan.Message = editorPath + QStringLiteral(" does not exist; ") + setIt;
        return plan;
    }
    if (!target.Chosen)
        return plan;
    if (!IsTextFile(target.File, textFileExtensions)) {
        plan.Message = QStringLiteral("That doesn't seem to be a text file");
        return plan;
    }
    plan.Start = true;
    plan.Command = EditorCommandLine(editorPath, target.File, target.LineNumber);
    return plan;
}

bool StartEditor(const TEditorCommand& command)
{
    return QProcess::startDetached(command.Program, command.Arguments);
}

bool btnEditClick(const QString& editorPath, const TEditTarget& target, const QString& textFileExtensions,
                  Prompts& prompts)
{
    const TEditPlan plan = PlanEdit(editorPath, target, textFileExtensions);
    if (!plan.Message.isEmpty())
        prompts.ShowInfo(ProductCaption, plan.Message);
    return plan.Start && StartEditor(plan.Command);
}
