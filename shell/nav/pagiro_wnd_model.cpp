// The navigator window's controller: receiving, showing and restricting the model.
#include "shell/nav/pagiro_wnd_impl.h"

#include "model/content.h"
#include "model/url_provider.h"
#include "shell/nav/nav_messages.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/tabs_pane.h"
#include "shell/toolbar/domain_combo_box.h"
#include "shell/toolbar/nav_toolbar.h"

#include <string>

namespace kestrova {
namespace {

// The tag a model is restricted to, or null for the whole model.
const char16_t* FilterTag(IModel* model) {
    return model ? GetModelFilter(model)->GetFilterTag() : nullptr;
}

bool SameTag(const char16_t* a, const std::optional<std::u16string>& b) {
    if (!a || !*a) return !b || b->empty();
    return b && *b == a;
}

}  // namespace

void CPagiroWnd_impl_::OnModel(CountedPtr<IModel> model) {
    {
        std::lock_guard lock(pendingModelLock_);
        pendingModel_ = std::move(model);
    }
    PostNavMessage(&wnd_, NAVM_MODELREADY);
}

CountedPtr<IModel> CPagiroWnd_impl_::TakePendingModel() {
    std::lock_guard lock(pendingModelLock_);
    CountedPtr<IModel> model;
    model.swap(pendingModel_);
    return model;
}

void CPagiroWnd_impl_::OnModelReady() {
    CountedPtr<IModel> model = TakePendingModel();
    if (model) {
        PaneState state = SavePaneState();
        ShowModel(std::move(model), &state);
    }
    if (waitingForModel_) EndProgressDialog();
    ResetProgress();
}

void CPagiroWnd_impl_::OnCopyState() {
    CountedPtr<IModel> model = std::move(copyModel_);
    std::optional<PaneState> state = std::move(copyState_);
    copyModel_.Reset();
    copyState_.reset();
    if (model) ReplaceModel(std::move(model), state ? &*state : nullptr);
}

// Shows a model that arrived from the loader: the view of the category shown so far (when
// the new model has it), or, for the first model, the view of the command line's domain.
void CPagiroWnd_impl_::ShowModel(CountedPtr<IModel> model, const PaneState* state) {
    CountedPtr<IModel> shown = model;
    if (model_) {
        if (CountedPtr<IModel> view =
                GetModelFilter(model.get())->GetFiltered(FilterTag(model_.get()))) {
            shown = view;
        }
    } else {
        state = nullptr;
        if ((mode_ & kApplyStartDomain) && !startDomain_.isEmpty()) {
            const std::u16string tag = startDomain_.toStdU16String();
            if (CountedPtr<IModel> view = GetModelFilter(model.get())->GetFiltered(tag.c_str())) {
                shown = view;
            }
        }
    }
    ReplaceModel(std::move(shown), state);
}

void CPagiroWnd_impl_::ReplaceModel(CountedPtr<IModel> model, const PaneState* state) {
    CDomainComboBox* domains = toolBar_->DomainBox();
    domains->Clear();
    tabs_->Contents()->Clear();
    tabs_->Index()->Clear();
    model_ = std::move(model);
    domains->Fill(model_.get(), FilterTag(model_.get()));
    tabs_->Contents()->Fill(model_->GetContent(), model_->GetURLProvider(), state);
    tabs_->Index()->Fill(model_->GetKeywordList(), state);
    if (state) tabs_->SelectTab(state->tab);
}

void CPagiroWnd_impl_::OnCategoryChanged() {
    if (!model_) return;
    std::optional<std::u16string> tag = toolBar_->DomainBox()->SelectedTag();
    if (SameTag(FilterTag(model_.get()), tag)) return;
    CountedPtr<IModel> view =
        GetModelFilter(model_.get())->GetFiltered(tag ? tag->c_str() : nullptr);
    if (!view) return;
    PaneState state = SavePaneState();
    tabs_->Contents()->Clear();
    tabs_->Index()->Clear();
    model_ = std::move(view);
    tabs_->Contents()->Fill(model_->GetContent(), model_->GetURLProvider(), &state);
    tabs_->Index()->Fill(model_->GetKeywordList(), &state);
    tabs_->SelectTab(state.tab);
}

PaneState CPagiroWnd_impl_::SavePaneState() const {
    PaneState state;
    if (!tabs_) return state;
    tabs_->Contents()->SaveState(state);
    tabs_->Index()->SaveState(state);
    state.tab = tabs_->CurrentTab();
    return state;
}

}  // namespace kestrova
