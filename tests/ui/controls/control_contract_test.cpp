// The control layer's contract, run against each backend (see contract_backend.h).
#include <algorithm>
#include <thread>

#include <gtest/gtest.h>

#include "contract_backend.h"
#include "text/cp1250.h"

namespace {

using contract::backend;
using contract::UserActions;
using ui::ControlKind;
using ui::DialogHost;
using K = ui::ControlKind;

// A window that writes down every handler call (paints are only counted: the desktop decides when).
class RecordingDialog : public ui::Dialog {
  public:
    std::vector<std::string> log;
    std::function<void(DialogHost&)> init;
    int paints = 0;
    ui::Size paintedSize;

    void onInit() override {
        if (init)
            init(host());
    }
    void onCommand(int id) override { note("command", id); }
    void onSelectionChange(int id) override { note("selection", id); }
    void onDoubleClick(int id) override { note("double", id); }
    void onTextChange(int id) override { note("text", id); }
    bool onKeyDown(int id, const ui::KeyEvent& key) override {
        std::string entry = "key " + std::to_string(id);
        entry += key.key == ui::Key::Delete      ? " delete"
                 : key.key == ui::Key::Backspace ? " backspace"
                                                 : " other";
        entry += key.extended ? " extended" : "";
        entry += key.isFirstPress() ? " first" : " repeated";
        log.push_back(entry);
        return key.key == ui::Key::Delete;
    }
    void onOk() override { log.push_back("ok"); }
    void onCancel() override { log.push_back("cancel"); }
    void onPaint(ui::Canvas& canvas) override {
        ++paints;
        paintedSize = canvas.size();
    }
    bool onSystemCommand(int command) override {
        note("system", command);
        return true;
    }
    void onHelp() override { log.push_back("help"); }

    void clearLog() { log.clear(); }

  private:
    void note(const char* what, int id) { log.push_back(std::string(what) + " " + std::to_string(id)); }
};

constexpr int kLabel = 901;
constexpr int kLink = 902;
constexpr int kEdit = 903;
constexpr int kDigits = 904;
constexpr int kPassword = 905;
constexpr int kCheck = 906;
constexpr int kButton = 907;
constexpr int kDefault = 908;
constexpr int kCombo = 909;
constexpr int kSortedList = 910;
constexpr int kList = 911;
constexpr int kTree = 912;
constexpr int kProgress = 913;
constexpr int kFrame = 914;
constexpr int kHiddenButton = 915;
constexpr int kDisabledButton = 916;

ui::ControlTemplate ctl(int id, ControlKind kind, ui::Rect units, unsigned style = 0,
                        std::string_view text = {}) {
    return {id, kind, units, style, std::string(text)};
}

const ui::DialogTemplate& testTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.id = 900;
        d.title = "Zkušební okno"_cz;
        d.units = {320, 210};
        d.style = ui::kSystemMenu;
        d.controls = {
            ctl(kLabel, K::Label, {5, 5, 100, 8}, 0, "Štítek"_cz),
            ctl(kLink, K::Label, {110, 5, 100, 8}, ui::kAlignCenter | ui::kNotify, "Odkaz"),
            ctl(kEdit, K::Edit, {5, 16, 80, 12}),
            ctl(kDigits, K::DigitsEdit, {90, 16, 40, 12}, 0, "1"),
            ctl(kPassword, K::PasswordEdit, {135, 16, 60, 12}),
            ctl(kCheck, K::CheckBox, {200, 16, 100, 10}, 0, "Zaškrtni"_cz),
            ctl(kButton, K::PushButton, {5, 32, 60, 14}, 0, "Tlačítko"_cz),
            ctl(kDefault, K::DefaultButton, {70, 32, 60, 14}, 0, "Výchozí"_cz),
            ctl(kCombo, K::DropDownList, {135, 32, 80, 60}),
            ctl(kSortedList, K::ListBox, {5, 50, 100, 60},
                ui::kSorted | ui::kExtendedSelection | ui::kNotify),
            ctl(kList, K::ListBox, {110, 50, 100, 60},
                ui::kExtendedSelection | ui::kNotify | ui::kHorizontalScroll),
            ctl(kTree, K::TreeView, {215, 50, 100, 60}, ui::kTreeLines),
            ctl(kProgress, K::ProgressBar, {5, 115, 150, 10}),
            ctl(kFrame, K::Frame, {160, 115, 60, 40}),
            ctl(kHiddenButton, K::PushButton, {5, 130, 60, 14}, ui::kHidden, "Skryté"_cz),
            ctl(kDisabledButton, K::PushButton, {70, 130, 60, 14}, ui::kDisabled, "Vypnuté"_cz),
            ctl(ui::kIdOk, K::PushButton, {5, 190, 50, 14}, 0, "OK"),
            ctl(ui::kIdCancel, K::PushButton, {60, 190, 50, 14}, 0, "Storno"),
        };
        return d;
    }();
    return t;
}

// A window without a default button: Enter there is the OK action.
const ui::DialogTemplate& plainTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.id = 901;
        d.units = {120, 60};
        d.controls = {ctl(kEdit, K::Edit, {5, 5, 80, 12}),
                      ctl(kButton, K::PushButton, {5, 25, 60, 14}, 0, "Tlačítko"_cz)};
        return d;
    }();
    return t;
}

class ControlContract : public testing::Test {
  protected:
    void SetUp() override { backend().beginTest(); }

    // Runs `body` in a window of the test template and returns what the window recorded.
    RecordingDialog run(const contract::Backend::Body& body, const ui::DialogTemplate& t = testTemplate()) {
        RecordingDialog dialog;
        backend().run(dialog, t, body);
        return dialog;
    }
};

TEST_F(ControlContract, BuildsEveryControlOfTheTemplateWhereTheTemplatePutsIt) {
    run([](DialogHost& host, UserActions& user) {
        for (const ui::ControlTemplate& entry : testTemplate().controls) {
            SCOPED_TRACE(entry.id);
            ui::Control* control = host.findControl(entry.id);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->kind(), entry.kind);
            EXPECT_EQ(control->isVisible(), !entry.has(ui::kHidden));
            EXPECT_EQ(control->isEnabled(), !entry.has(ui::kDisabled));
            const bool takesActions =
                entry.kind != K::Frame && !entry.has(ui::kHidden) && !entry.has(ui::kDisabled);
            EXPECT_EQ(user.canReach(entry.id), takesActions);
            EXPECT_EQ(control->rect(), host.dialogUnitsToPixels(ui::visibleDialogUnits(entry)));
            const bool hasCaption = entry.kind == K::Label || entry.kind == K::PushButton ||
                                    entry.kind == K::DefaultButton || entry.kind == K::CheckBox ||
                                    entry.kind == K::Edit || entry.kind == K::DigitsEdit;
            if (hasCaption) {
                EXPECT_EQ(control->text(), entry.text);
            }
        }
        EXPECT_EQ(host.findControl(999), nullptr);
        EXPECT_THROW(host.combo(kList), std::logic_error);
        EXPECT_THROW(host.control(999), std::logic_error);
        EXPECT_EQ(host.title(), testTemplate().title);
        // A closed drop-down list is one line high; its template height is that of the open list.
        EXPECT_LT(host.combo(kCombo).rect().height, host.dialogUnitsToPixels({0, 0, 0, 60}).height);
        EXPECT_EQ(host.clientSize(), (ui::Size{host.dialogUnitsToPixels({0, 0, 320, 210}).width,
                                               host.dialogUnitsToPixels({0, 0, 320, 210}).height}));
    });
}

TEST_F(ControlContract, TextsKeepCzechCharactersAndLineBreaks) {
    const std::string czech("Příliš žluťoučký kůň úpěl ďábelské ódy"_cz);
    const std::string twoLines("Máte problémy?\r\nKlikněte zde!"_cz);
    run([&](DialogHost& host, UserActions&) {
        struct Row {
            int id;
            std::string text;
        };
        const Row rows[] = {
            {kLabel, twoLines}, {kLink, czech}, {kButton, czech}, {kCheck, czech}, {kEdit, czech}};
        for (const Row& row : rows) {
            SCOPED_TRACE(row.id);
            host.control(row.id).setText(row.text);
            EXPECT_EQ(host.control(row.id).text(), row.text);
        }
        host.setTitle(czech);
        EXPECT_EQ(host.title(), czech);
        host.combo(kCombo).addItem(czech);
        EXPECT_EQ(host.combo(kCombo).itemText(0), czech);
        host.list(kList).addItem(czech);
        EXPECT_EQ(host.list(kList).itemText(0), czech);
    });
}

TEST_F(ControlContract, EditsReportEveryChangeAndFilterWhatIsTyped) {
    const auto dialog = run([](DialogHost& host, UserActions& user) {
        host.edit(kEdit).setText("abc");
        EXPECT_EQ(host.edit(kEdit).text(), "abc");
        user.type(kDigits, "2a3");
        EXPECT_EQ(host.edit(kDigits).text(), "123");
        host.edit(kPassword).setLimit(3);
        EXPECT_EQ(host.edit(kPassword).limit(), 3);
        user.type(kPassword, "heslo");
        EXPECT_EQ(host.edit(kPassword).text(), "hes");
        // Text set by the program is not cut by the limit.
        host.edit(kPassword).setText("heslo");
        EXPECT_EQ(host.edit(kPassword).text(), "heslo");
    });
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"text 903", "text 904", "text 904", "text 905",
                                                    "text 905", "text 905", "text 905"}));
}

TEST_F(ControlContract, EditsRefuseTypedCharactersThatCp1250CannotHold) {
    const auto dialog = run([](DialogHost& host, UserActions& user) {
        // Every character here but the emoji and the arrow has a cp1250 byte; the Czech ones too.
        user.typeUnicode(kEdit, U"Čáp € \U0001F600ß\u2192ł");
        EXPECT_EQ(host.edit(kEdit).text(), "Čáp € ßł"_cz);
        user.typeUnicode(kPassword, U"\u2192");
        EXPECT_EQ(host.edit(kPassword).text(), "");
    });
    // Only the characters taken were changes.
    EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "text 903"), 8);
    EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "text 905"), 0);
}

TEST_F(ControlContract, ComboBoxSelectsByIndexAndReportsOnlyTheUsersChoice) {
    const auto dialog = run([](DialogHost& host, UserActions& user) {
        ui::ComboBox& combo = host.combo(kCombo);
        EXPECT_EQ(combo.selection(), -1);
        for (const char* name : {"10x15", "13x18", "20x30"})
            combo.addItem(name);
        EXPECT_EQ(combo.count(), 3);
        combo.select(1);
        EXPECT_EQ(combo.selection(), 1);
        EXPECT_EQ(combo.text(), "13x18");
        combo.select(7);
        EXPECT_EQ(combo.selection(), -1);
        EXPECT_EQ(combo.itemText(7), "");
        user.chooseItem(kCombo, 2);
        EXPECT_EQ(combo.selection(), 2);
        combo.clear();
        EXPECT_EQ(combo.count(), 0);
        EXPECT_EQ(combo.selection(), -1);
    });
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"selection 909"}));
}

TEST_F(ControlContract, SortedListBoxCollatesAsCzechUsersExpect) {
    run([](DialogHost& host, UserActions&) {
        ui::ListBox& list = host.list(kSortedList);
        for (std::string_view town :
             {"Žatec"_cz, "Cheb"_cz, "Brno"_cz, "Zlín"_cz, "Hradec"_cz, "Český Krumlov"_cz})
            list.addItem(town);
        std::vector<std::string> order;
        for (int i = 0; i < list.count(); ++i)
            order.push_back(list.itemText(i));
        const std::vector<std::string> expected = {
            "Brno", std::string("Český Krumlov"_cz), "Hradec",
            "Cheb", std::string("Zlín"_cz),          std::string("Žatec"_cz)};
        EXPECT_EQ(order, expected);
    });
}

TEST_F(ControlContract, UnsortedListBoxEditsRowsInPlaceAndKeepsTheirSelection) {
    run([](DialogHost& host, UserActions&) {
        ui::ListBox& list = host.list(kList);
        for (const char* row : {"a", "b", "c", "d"})
            list.addItem(row);
        list.setSelected(1, true);
        list.setSelected(3, true);
        EXPECT_EQ(list.selectedItems(), (std::vector<int>{1, 3}));
        list.replaceItem(1, "B");
        EXPECT_EQ(list.itemText(1), "B");
        EXPECT_TRUE(list.isSelected(1));
        list.insertItem(0, "start");
        list.insertItem(-1, "end");
        list.deleteItem(3);  // "c"
        std::vector<std::string> rows;
        for (int i = 0; i < list.count(); ++i)
            rows.push_back(list.itemText(i));
        EXPECT_EQ(rows, (std::vector<std::string>{"start", "a", "B", "d", "end"}));
        EXPECT_EQ(list.selectedItems(), (std::vector<int>{2, 3}));
        list.setSelected(2, false);
        EXPECT_EQ(list.selectedItems(), (std::vector<int>{3}));
        list.setCaret(4);
        list.deleteItem(0);
        EXPECT_EQ(list.caret(), 3);  // the caret stays on its row
        list.clear();
        EXPECT_EQ(list.count(), 0);
        EXPECT_EQ(list.caret(), -1);
    });
}

TEST_F(ControlContract, ListBoxesTakeManyItemsAtOnceAsTheyWouldOneByOne) {
    run([](DialogHost& host, UserActions&) {
        ui::ListBox& list = host.list(kList);
        list.addItem("first");
        list.addItem("second");
        list.setSelected(1, true);
        list.setCaret(1);
        std::vector<std::string> many;
        for (int i = 0; i < 500; ++i)
            many.push_back("row " + std::to_string(i));
        list.addItems(many);
        list.addItems({});
        ASSERT_EQ(list.count(), 502);
        EXPECT_EQ(list.itemText(0), "first");
        EXPECT_EQ(list.itemText(2), "row 0");
        EXPECT_EQ(list.itemText(501), "row 499");
        EXPECT_EQ(list.selectedItems(), (std::vector<int>{1}));
        EXPECT_EQ(list.caret(), 1);

        ui::ListBox& sorted = host.list(kSortedList);
        sorted.addItems({std::string("Zlín"_cz), "Brno", "Cheb"});
        std::vector<std::string> order;
        for (int i = 0; i < sorted.count(); ++i)
            order.push_back(sorted.itemText(i));
        EXPECT_EQ(order, (std::vector<std::string>{"Brno", "Cheb", std::string("Zlín"_cz)}));
    });
}

TEST_F(ControlContract, ListBoxClicksSelectSetTheCaretAndReport) {
    const auto dialog = run([](DialogHost& host, UserActions& user) {
        ui::ListBox& list = host.list(kList);
        for (const char* row : {"a", "b", "c", "d"})
            list.addItem(row);
        user.clickItem(kList, 1);
        EXPECT_EQ(list.selectedItems(), (std::vector<int>{1}));
        EXPECT_EQ(list.caret(), 1);
        user.ctrlClickItem(kList, 3);
        EXPECT_EQ(list.selectedItems(), (std::vector<int>{1, 3}));
        EXPECT_EQ(list.caret(), 3);
        user.ctrlClickItem(kList, 1);
        EXPECT_EQ(list.selectedItems(), (std::vector<int>{3}));
        user.doubleClickItem(kList, 2);
        EXPECT_EQ(list.selectedItems(), (std::vector<int>{2}));
        EXPECT_EQ(list.caret(), 2);
    });
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"selection 911", "selection 911", "selection 911",
                                                    "selection 911", "double 911"}));
}

TEST_F(ControlContract, ButtonsCheckBoxesAndLinksReportClicks) {
    const auto dialog = run([](DialogHost& host, UserActions& user) {
        user.click(kButton);
        user.click(kCheck);
        EXPECT_TRUE(host.check(kCheck).isChecked());
        host.check(kCheck).setChecked(false);  // not reported
        EXPECT_FALSE(host.check(kCheck).isChecked());
        user.click(kLink);
        user.click(ui::kIdOk);
        user.click(ui::kIdCancel);
        EXPECT_THROW(user.click(kHiddenButton), std::logic_error);
        EXPECT_THROW(user.click(kDisabledButton), std::logic_error);
        host.button(kDisabledButton).enable(true);
        host.button(kHiddenButton).show(true);
        EXPECT_TRUE(user.canReach(kDisabledButton));
        EXPECT_TRUE(user.canReach(kHiddenButton));
        user.click(kDisabledButton);
    });
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"command 907", "command 906", "command 902", "ok",
                                                    "cancel", "command 916"}));
}

TEST_F(ControlContract, EnterClicksTheFocusedOrDefaultButtonElseIsTheOkAction) {
    const auto withDefault = run([](DialogHost& host, UserActions& user) {
        host.edit(kEdit).focus();
        EXPECT_TRUE(host.edit(kEdit).hasFocus());
        user.pressEnter();
        host.button(kButton).focus();
        EXPECT_TRUE(host.button(kButton).hasFocus());
        EXPECT_FALSE(host.edit(kEdit).hasFocus());
        user.pressEnter();
        user.pressEscape();
        user.pressF1();
        user.pressCloseBox();
    });
    EXPECT_EQ(withDefault.log,
              (std::vector<std::string>{"command 908", "command 907", "cancel", "help", "cancel"}));

    const auto withoutDefault = run(
        [](DialogHost& host, UserActions& user) {
            host.edit(kEdit).focus();
            user.pressEnter();
        },
        plainTemplate());
    EXPECT_EQ(withoutDefault.log, (std::vector<std::string>{"ok"}));
}

TEST_F(ControlContract, KeysReachTheWindowWithTheirKindAndRepetition) {
    const auto dialog = run([](DialogHost& host, UserActions& user) {
        host.list(kList).addItem("a");
        user.pressKey(kList, {ui::Key::Delete, true, 1, false});
        user.pressKey(kList, {ui::Key::Delete, true, 1, true});
        user.pressKey(kList, {ui::Key::Delete, false, 1, false});
        user.pressKey(kList, {ui::Key::Backspace, false, 1, false});
    });
    EXPECT_EQ(dialog.log,
              (std::vector<std::string>{"key 911 delete extended first", "key 911 delete extended repeated",
                                        "key 911 delete first", "key 911 backspace first"}));
}

// Owns records of tree items the way a tree's owner does, and refuses what it is told to refuse.
class TreeOwner : public ui::TreeListener {
  public:
    ui::TreeItem refuseExpanding = ui::kNoTreeItem;
    ui::TreeItem refuseCollapsing = ui::kNoTreeItem;
    std::vector<std::string> log;
    ui::TreeView* tree = nullptr;

    bool onItemExpanding(ui::TreeItem item) override {
        log.push_back("expanding " + tree->itemText(item));
        return item != refuseExpanding;
    }
    bool onItemCollapsing(ui::TreeItem item) override {
        log.push_back("collapsing " + tree->itemText(item));
        return item != refuseCollapsing;
    }
    void onItemDeleted(ui::TreeItem item) override { log.push_back("deleted " + tree->itemText(item)); }
};

TEST_F(ControlContract, TreeViewInsertsSortsExpandsAndReportsDeletions) {
    TreeOwner owner;
    const auto dialog = run([&](DialogHost& host, UserActions&) {
        using Place = ui::TreeView::Place;
        using Icon = ui::TreeView::Icon;
        ui::TreeView& tree = host.tree(kTree);
        owner.tree = &tree;
        tree.setListener(&owner);
        EXPECT_TRUE(tree.hasIcons());
        const ui::TreeItem root =
            tree.insertItem(ui::kNoTreeItem, Place::Last, "Plocha", Icon::Desktop, Icon::Desktop, true);
        const ui::TreeItem b =
            tree.insertItem(root, Place::First, "b", Icon::Folder, Icon::FolderOpen, false);
        const ui::TreeItem a = tree.insertItem(root, Place::First, "a", Icon::Folder, Icon::FolderOpen, true);
        const ui::TreeItem c = tree.insertItem(root, Place::Last, "c", Icon::Folder, Icon::FolderOpen, false);
        EXPECT_EQ(tree.children(root), (std::vector<ui::TreeItem>{a, b, c}));
        EXPECT_EQ(tree.children(ui::kNoTreeItem), (std::vector<ui::TreeItem>{root}));
        EXPECT_EQ(tree.parentItem(a), root);
        tree.sortChildren(
            root, [&](ui::TreeItem x, ui::TreeItem y) { return tree.itemText(y).compare(tree.itemText(x)); });
        EXPECT_EQ(tree.children(root), (std::vector<ui::TreeItem>{c, b, a}));

        tree.expand(root);
        EXPECT_TRUE(tree.isExpanded(root));
        EXPECT_FALSE(tree.hasButton(b));
        tree.expand(b);  // no children and no button: nothing happens
        owner.refuseExpanding = a;
        tree.expand(a);
        EXPECT_FALSE(tree.isExpanded(a));
        owner.refuseCollapsing = root;
        tree.collapse(root);
        EXPECT_TRUE(tree.isExpanded(root));
        tree.setHasButton(c, true);
        EXPECT_TRUE(tree.hasButton(c));

        tree.select(b);
        EXPECT_EQ(tree.selection(), b);
        tree.select(b);  // no change, no report
        owner.log.push_back("--");
        tree.deleteAllItems();
        EXPECT_EQ(tree.selection(), ui::kNoTreeItem);
    });
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"selection 912"}));
    const std::vector<std::string> expected = {"expanding Plocha", "expanding a", "collapsing Plocha", "--"};
    ASSERT_EQ(owner.log.size(), expected.size() + 4);
    EXPECT_EQ(std::vector<std::string>(owner.log.begin(), owner.log.begin() + 4), expected);
    std::vector<std::string> deleted(owner.log.begin() + 4, owner.log.end());
    std::sort(deleted.begin(), deleted.end());
    EXPECT_EQ(deleted, (std::vector<std::string>{"deleted Plocha", "deleted a", "deleted b", "deleted c"}));
}

TEST_F(ControlContract, FontsProgressAndPaintingAreTheWindowsOwn) {
    const auto dialog = run([](DialogHost& host, UserActions&) {
        EXPECT_EQ(host.label(kLabel).font(), (ui::Font{"MS Shell Dlg", 8, ui::Font::kNormal, false}));
        const ui::Font bold{"Arial", -11, ui::Font::kBold, true};
        host.label(kLabel).setFont(bold);
        EXPECT_EQ(host.label(kLabel).font(), bold);
        host.tree(kTree).setFont(bold);
        EXPECT_EQ(host.tree(kTree).font(), bold);

        host.progress(kProgress).setPosition(140);
        EXPECT_EQ(host.progress(kProgress).position(), 100);
        host.progress(kProgress).setPosition(-3);
        EXPECT_EQ(host.progress(kProgress).position(), 0);

        int buttonPaints = 0;
        ui::Size buttonSize;
        host.button(kButton).setPainter([&](ui::Canvas& canvas) {
            ++buttonPaints;
            buttonSize = canvas.size();
        });
        host.redraw();
        backend().settle();
        EXPECT_GE(buttonPaints, 1);
        EXPECT_EQ(buttonSize,
                  (ui::Size{host.button(kButton).rect().width, host.button(kButton).rect().height}));
        host.button(kButton).setPainter(nullptr);
    });
    EXPECT_GE(dialog.paints, 1);
    EXPECT_GT(dialog.paintedSize.width, 0);
    EXPECT_GT(dialog.paintedSize.height, 0);
}

TEST_F(ControlContract, TheWindowMovesAndItsSystemMenuReportsItsCommands) {
    const auto dialog = run([](DialogHost& host, UserActions& user) {
        const ui::Rect before = host.windowRect();
        host.moveWindow({before.x + 200, before.y, 410, before.height});
        backend().settle();
        EXPECT_EQ(host.windowRect().width, 410);
        EXPECT_EQ(host.windowRect().x, before.x + 200);
        host.appendSystemMenuSeparator();
        host.appendSystemMenuItem(0x10, "O aplikaci Snapord..."_cz);
        user.chooseSystemMenuItem(0x10);
    });
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"system 16"}));
}

// Ends itself while it starts, as a news message that has nothing new does.
class EndsAtOnce : public ui::Dialog {
  public:
    void onInit() override { host().end(7); }
};

TEST_F(ControlContract, AWindowThatEndsWhileStartingNeverRuns) {
    EndsAtOnce dialog;
    bool bodyRan = false;
    EXPECT_EQ(backend().run(dialog, plainTemplate(), [&](DialogHost&, UserActions&) { bodyRan = true; }), 7);
    EXPECT_FALSE(bodyRan);
}

// Asks and waits while it starts, as the main window does when it updates the catalogue at start-up.
class AsksWhileStarting : public ui::Dialog {
  public:
    ui::MessageAnswer answer{};
    void onInit() override {
        host().services().pumpEvents();
        host().services().sleep(1);
        answer = host().services().messageBox("Pokračovat?", "", ui::MessageIcon::Question,
                                              ui::MessageButtons::YesNo);
        host().services().pumpEvents();
    }
};

TEST_F(ControlContract, TheDesktopServesAWindowThatIsStillStarting) {
    AsksWhileStarting dialog;
    backend().answerNextQuestion(ui::MessageAnswer::Yes);
    bool ran = false;
    backend().run(dialog, plainTemplate(), [&](DialogHost& host, UserActions&) {
        ran = true;
        EXPECT_TRUE(host.isVisible());
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialog.answer, ui::MessageAnswer::Yes);
}

TEST_F(ControlContract, MessageBoxesAndNestedWindowsAreAnsweredAndDriven) {
    ui::MessageAnswer first{};
    ui::MessageAnswer second{};
    int nestedResult = 0;
    RecordingDialog nested;
    backend().answerNextQuestion(ui::MessageAnswer::Yes);
    backend().answerNextQuestion(ui::MessageAnswer::No);
    backend().scriptNextWindow(plainTemplate().id, [](DialogHost& host, UserActions& user) {
        user.click(kButton);
        host.end(42);
    });
    run([&](DialogHost& host, UserActions&) {
        first =
            host.services().messageBox("Smazat?", "", ui::MessageIcon::Question, ui::MessageButtons::YesNo);
        second = host.services().messageBox("Opravdu?", "Dotaz", ui::MessageIcon::Question,
                                            ui::MessageButtons::YesNo);
        host.services().messageBox("Hotovo.", "Snapord", ui::MessageIcon::Information,
                                   ui::MessageButtons::Ok);
        nestedResult = host.services().runModal(nested, plainTemplate());
    });
    EXPECT_EQ(first, ui::MessageAnswer::Yes);
    EXPECT_EQ(second, ui::MessageAnswer::No);
    EXPECT_EQ(nestedResult, 42);
    EXPECT_EQ(nested.log, (std::vector<std::string>{"command 907"}));
    const auto boxes = backend().messageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Smazat?");
    EXPECT_EQ(boxes[0].caption, "Snapord");  // an empty caption shows the program's name
    EXPECT_EQ(boxes[0].icon, ui::MessageIcon::Question);
    EXPECT_TRUE(boxes[0].yesNo);
    EXPECT_EQ(boxes[1].caption, "Dotaz");
    EXPECT_EQ(boxes[2].icon, ui::MessageIcon::Information);
    EXPECT_FALSE(boxes[2].yesNo);
}

// A worker thread hands its result to the window: the action runs on the UI thread where events are
// dispatched, never inside the call that posts it, in the order posted.
TEST_F(ControlContract, ActionsPostedFromAnyThreadRunOnTheUiThreadInOrder) {
    const std::thread::id uiThread = std::this_thread::get_id();
    std::vector<std::string> ran;
    bool allOnUiThread = true;
    run([&](DialogHost& host, UserActions&) {
        ui::DesktopServices& services = host.services();
        const auto note = [&](const char* what) {
            return [&, what] {
                ran.push_back(what);
                allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
            };
        };
        services.runOnUiThread(note("from the UI thread"));
        EXPECT_TRUE(ran.empty());
        std::thread worker([&] {
            services.runOnUiThread(note("from a worker"));
            services.runOnUiThread(note("from a worker, later"));
        });
        worker.join();
        EXPECT_TRUE(ran.empty());
        backend().settle();
        services.pumpEvents();
    });
    EXPECT_EQ(ran, (std::vector<std::string>{"from the UI thread", "from a worker", "from a worker, later"}));
    EXPECT_TRUE(allOnUiThread);
}

}  // namespace
