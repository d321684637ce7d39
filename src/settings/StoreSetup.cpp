#include "settings/StoreSetup.h"

#include "settings/ApplicationDataAPI.h"
#include "settings/TextCipher.h"
#include "util/Prompts.h"

#include <QStandardPaths>

namespace {

// Made with tarnwell-cipher under TextPassphrase().
const char* const CompanyCipher =
    "Fp2xTUBIc5Y15NQiI3OJjA49WJulrBhAY5GwdjjAtJLpggs6QJYZOkfXksqKN/1bH/S0wNqzs0CvpP+ZZw2VhTgB";
const char* const ProductCipher = "BtPGUt75pt2+rfDv3XYT8U5fGvTZyYAdvskVMv+hclEsI6K4TA/UZDR5UjiMUvjb";
const char* const FileNameCipher =
    "Hrf9hXZXN33MAp0pOMNvTuufcc4IREK/rxwIpav8Id+CY2qsPt1c8BOVgkram11FyTMy3cdtEss=";
const char* const FailureCaptionCipher =
    "GDdG6YISujyprTZRwH2ViEc79OMxC4wxXAmwGZxIa/DZ2HBSzYO5GeotjFxiJexrECN+7nH2Cw/A+16y";

QString FirstPiece()
{
    return QStringLiteral("Kq7#vW");
}

QString SecondPiece()
{
    return QStringLiteral("p2Lz9e");
}

QString ThirdPiece()
{
    return QStringLiteral("R4m!xT8s");
}

QString StorePiece()
{
    return QStringLiteral("bN3$hY6qJ");
}

QString Decipher(const char* base64)
{
    return DecipherText(QString::fromLatin1(base64), TextPassphrase());
}

} // namespace

QString TextPassphrase()
{
    return FirstPiece() + SecondPiece() + ThirdPiece();
}

TStoreNames StoreNames()
{
    TStoreNames names;
    names.Company = Decipher(CompanyCipher);
    names.Product = Decipher(ProductCipher);
    names.FileName = Decipher(FileNameCipher);
    names.FailureCaption = Decipher(FailureCaptionCipher);
    names.Passphrase = TextPassphrase() + StorePiece();
    return names;
}

QString StoreFilePath()
{
    const TStoreNames names = StoreNames();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           names.Company + QLatin1Char('/') + names.Product + QLatin1Char('/') + names.FileName;
}

bool SetUpStore(TAppData& store, Prompts& prompts)
{
    const TStoreNames names = StoreNames();
    if (!store.SetConfigFile(names.Company, names.Product, names.FileName, names.Passphrase)) {
        prompts.ShowInfo(names.FailureCaption, QStringLiteral("Couldn't set Configuration file"));
        return false;
    }
    if (store.InvalidLineCount() > 0)
        prompts.ShowInfo(ProductCaption, QStringLiteral("Invalid data"));
    return true;
}
