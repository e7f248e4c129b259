// The window side of the main dialog: the start-up order, the fonts, the poster, the text
// colours, the Enter routing and the message map.
#include <algorithm>

#include "drill/practice_dialog.h"
#include "ui/control_ids.h"
#include "ui/poster.h"
#include "ui/text_colour.h"
#include "ui/texts.h"

namespace zembra {
namespace {

// The message map: each control notification goes to one handler.
struct MessageMapEntry {
    int id;
    Notification code;
    void (PracticeDialog::*handler)();
};

constexpr MessageMapEntry kMessageMap[] = {
    {ids::kNext, Notification::Clicked, &PracticeDialog::OnNext},
    {ids::kSubmit, Notification::Clicked, &PracticeDialog::OnSubmit},
    {ids::kRetry, Notification::Clicked, &PracticeDialog::OnRetry},
    {ids::kResetAll, Notification::Clicked, &PracticeDialog::OnResetAll},
    {ids::kListen, Notification::Clicked, &PracticeDialog::OnListen},
    {ids::kDictation, Notification::Clicked, &PracticeDialog::OnDictation},
    {ids::kCategoryCombo, Notification::SelectionChanged, &PracticeDialog::OnFilterChange},
    {ids::kImportList, Notification::Clicked, &PracticeDialog::OnImportList},
    {ids::kRemoveList, Notification::Clicked, &PracticeDialog::OnRemoveList},
};

}  // namespace

bool PracticeDialog::OnInitDialog() {
    // The backend has created the controls and filled the combo box from the template.
    m_filter = texts::kAllCategories;
    Host().SetItemText(ids::kCategoryCaption, m_filter);

    SetFonts();
    Host().SetWindowIcons();

    for (std::string& mark : m_builtIn.marks) mark.clear();
    LoadProgress();
    FillWordBank();
    m_currentRow = -1;
    m_builtIn.size = kBankRows;
    m_poolSize = 0;
    SetNumber(ids::kTotalCount, kBankRows);
    SetNumber(ids::kMasteredCount, m_masteredCount);
    m_poolSize = m_builtIn.size;

    ChoosePosterToShow();
    ShowWordLists();
    // 听写 waits for a voice (OnSpeechReady).
    Host().EnableItem(ids::kDictation, false);
    SelectNextRow();
    TellRowsDue();
    // Finding a voice may take the speech service seconds; the front end does it without waiting.
    StartSpeech();
    // The platform now puts the focus on the first tab stop, the next button.
    return true;
}

void PracticeDialog::SetFonts() {
    ControlHost& host = Host();
    m_font18 = host.CreatePointFont(180, texts::kSongFace);
    host.SetItemFont(ids::kCategoryCaption, m_font18);
    host.SetItemFont(ids::kPromptLine, m_font18);

    m_font12 = host.CreatePointFont(120, texts::kSongFace);
    for (int id = ids::kAnswerHolder; id <= ids::kLastLetterStatic; ++id) host.SetItemFont(id, m_font12);
    for (int id = ids::kAnswerBox; id <= ids::kLastAnswerEdit; ++id) host.SetItemFont(id, m_font12);

    host.SetItemFont(ids::kResultLine, m_font18);
    for (int id : {ids::kRetry, ids::kSubmit, ids::kNext, ids::kListen, ids::kDictation})
        host.SetItemFont(id, m_font12);
    host.SetItemFont(ids::kNoticeBoardCaption, m_font18);
    for (int id : {ids::kTotalCount, ids::kMasteredCount, ids::kTotalLabel, ids::kMasteredLabel, ids::kFilterLabel}) {
        host.SetItemFont(id, m_font12);
    }
}

void PracticeDialog::ChoosePosterToShow() {
    for (const Poster& poster : kPosterOrder) Host().ShowItem(poster.control, false);
    Host().ShowItem(ChoosePoster(m_runCounter).control, true);
}

bool PracticeDialog::PreTranslateMessage(const KeyMessage& message) {
    // Once the answer is submitted, Enter asks the next row wherever the focus is, and the key
    // goes no further, so one press never both submits and moves on.
    if (message.keyDown && message.key == Key::Enter && !Host().IsItemEnabled(ids::kSubmit)) {
        OnNext();
        return true;
    }
    // Escape closes the dialog without a word more.
    if (message.keyDown && message.key == Key::Escape && m_speech) m_speech->Stop();
    return false;
}

void PracticeDialog::OnCommand(int id, Notification code) {
    const auto* entry = std::find_if(std::begin(kMessageMap), std::end(kMessageMap),
                                     [&](const MessageMapEntry& e) { return e.id == id && e.code == code; });
    if (entry != std::end(kMessageMap)) (this->*entry->handler)();
}

void PracticeDialog::OnClose() {
    if (m_endSaved) return;
    m_endSaved = true;
    if (m_speech) m_speech->Stop();
    // A save that fails is said in the window, which a pupil started from the desktop sees; a
    // refused one was said at the start.
    while (!SaveProgress() && !m_environment.savingRefused && AskToRetrySave()) {
    }
}

// The system may end the program as soon as this returns: the save is made now, as the close
// request makes it, and no question is asked.
void PracticeDialog::OnEndSession() {
    if (m_endSaved) return;
    m_endSaved = true;
    if (m_speech) m_speech->Stop();
    SaveProgress();
}

std::optional<Colour> PracticeDialog::OnCtlColor(int id) const {
    if (DrawsRedText(id)) return kRed;
    return std::nullopt;
}

}  // namespace zembra
