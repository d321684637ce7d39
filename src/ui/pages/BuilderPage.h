#pragma once

#include <QList>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Builder" (TabResources): the files the release build edits, the signing
// certificate and the build options.
class BuilderPage : public QWidget {
    Q_OBJECT
public:
    explicit BuilderPage(QWidget* parent = nullptr);

    // Shows the signing fields, or btnNoSignTool in their place while no
    // signing tool is known.
    void SetSigningAvailable(bool available);

    QLineEdit* lbePhpFile;
    QLineEdit* lbePHPVar;
    QLineEdit* lbeDownLoadLinkFile;
    QLineEdit* lbeDownLoadLinkId;
    QLineEdit* lbeDownLoadLinkText;
    QWidget* Panel3;
    QLineEdit* lbeHelpBuilderBatch;
    QWidget* Panel4;
    QLineEdit* lbeBaseFileName;
    QLineEdit* lbeInnoSetupFile;
    QWidget* Panel6;
    QLineEdit* lbePrebuild;
    QLineEdit* lbePFX;
    QLineEdit* lbePFXPass;
    QCheckBox* pfxShowPass;
    QPushButton* btnNoSignTool;
    QCheckBox* cbxtimeStamp;
    QPushButton* bbtnTimeStamp;
    QCheckBox* cbxAutoUpload;
    QPushButton* bbtnAutoUpload;
    QPushButton* bbtnGetItDone;

private:
    QList<QWidget*> signingFields;
};
