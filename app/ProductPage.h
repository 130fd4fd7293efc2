// The product's own pages after the copying (the install type question, the application
// page, the add-on page): designed in descriptions as the wizard's pages are, but answered
// through their modal result instead of a dialog component, and closed by the window's close
// command without a question.
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/DocForm.h"

class TProductPage : public TDocForm {
    RT_CLASS(TProductPage, TDocForm)
public:
    explicit TProductPage(rt::TComponent* owner);

    // Cancel: the exit question; on Yes setup is left as cancelled by the user.
    void CancelBtnClick(rt::TObject* sender);
    // Enter proceeds, Escape cancels, unless a 3D button has the focus.
    void KeyDown(std::uint16_t& key, rt::TShiftState shift) override;

protected:
    // Reads the description and prepares its 3D buttons at the design size; the page then
    // sets its texts and ends with DoCreate.
    void LoadProductPage(const std::string& description, int realWidth, int realHeight);
    // What Enter does: the page's proceeding button.
    virtual void Proceed() {}
};

// Creates, shows and frees a page; its modal result.
template <class F>
int RunProductPage() {
    F* page = new F(rt::Application());
    int result = rt::mrCancel;
    try {
        result = page->ShowModal();
    } catch (...) {
        page->Free();
        throw;
    }
    page->Free();
    return result;
}
