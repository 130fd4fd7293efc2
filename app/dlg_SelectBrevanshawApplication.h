// The application page after the copying: the catalogue of ready-made applications of the
// installed product (for information), and Install, which makes the two default
// applications in the destination directory from the setup's source tree and records them
// for the product's first start.
#pragma once

#include <string>
#include <vector>

#include "app/ProductPage.h"

// One tab of the catalogue: its caption and the names of its applications.
struct TCatalogueTab {
    std::string Caption;
    std::vector<std::string> Apps;
};

// Reads the catalogue "APPS<language>.INI" of dir. Raises EAIUserAbort after the notice
// the user sees when the file is missing or unusable.
std::vector<TCatalogueTab> ReadCatalogue(const std::string& dir, int language);

class TfrmSelectBrevanshawApplication : public TProductPage {
    RT_CLASS(TfrmSelectBrevanshawApplication, TProductPage)
public:
    // The catalogue of the root's destination directory is read here: a bad one ends setup
    // before the page shows.
    explicit TfrmSelectBrevanshawApplication(rt::TComponent* owner);

    void TabControl1Change(rt::TObject* sender);
    void DefaultAppClick(rt::TObject* sender);
    void InstallBtnClick(rt::TObject* sender);

    // Copies a folder's files and folders below another with the copy window; a file that
    // cannot be copied stops that folder with the notice that the application could not be
    // installed.
    void CopyTree(const std::string& from, const std::string& to);
    // Enters a copied file in the uninstall record: a database among the user's data.
    static void RecordCopy(const std::string& target);

protected:
    void Proceed() override { InstallBtnClick(this); }

private:
    void LayOutDefaultApps();
    std::vector<TCatalogueTab> FTabs;
    class TfrmFileCopy* FCopy = nullptr;
};
