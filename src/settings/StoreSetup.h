#pragma once

#include <QString>

class Prompts;
class TAppData;

// Where the settings file lives and the key it is enciphered with. The
// names are kept enciphered in the program and the passphrases are joined
// from pieces at run time, so none of them stands in the binary as a whole.
struct TStoreNames {
    QString Company;        // folder under the local application-data folder
    QString Product;        // folder under the company's
    QString FileName;       // the settings file in the product's folder
    QString FailureCaption; // caption of the box shown when the set-up fails
    QString Passphrase;     // the store's passphrase (29 characters)
};

// The passphrase of the text cipher that hides the names (20 characters).
QString TextPassphrase();
TStoreNames StoreNames();

// Where the store of the program and of tarnwell-cli keeps its file (under
// the local application-data folder); nothing is created.
QString StoreFilePath();

// Sets the store up on its file: shows "Couldn't set Configuration file" and
// returns false when that fails; shows "Invalid data" once when lines of the
// file could not be read.
bool SetUpStore(TAppData& store, Prompts& prompts);
