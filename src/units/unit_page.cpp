#include "units/unit_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/editor_context.h"
#include "app/form_binder.h"
#include "app/icon_toggle.h"
#include "app/widgets.h"
#include "units/unit_icons.h"
#include "units/unit_vocabularies.h"

namespace vorlan {

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

// Four terrain boxes 空 陆 海 宇 in one frame.
QGroupBox* terrainFrame(const QString& first) {
    auto* box = frame(u("地形适应"));
    auto* grid = new QGridLayout(box);
    const int n = first.mid(5).toInt();
    const char* names[] = {"空", "陆", "海", "宇"};
    for (int i = 0; i < 4; ++i) {
        auto* combo = choiceBox("Combo" + QString::number(n + i), terrainRatings(), 60);
        grid->addWidget(caption(u(names[i])), 0, 2 * i);
        grid->addWidget(combo, 0, 2 * i + 1);
    }
    grid->setColumnStretch(8, 1);
    return box;
}

}  // namespace

UnitPage::UnitPage(EditorContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      list1_(listBox("List1")),
      list2_(listBox("List2")),
      tabs_(new QTabWidget),
      text13_(readOnlyBox("Text13", 80)),
      text37_(readOnlyBox("Text37", 50)),
      label12_(new QLabel(u("注意："))) {
    setObjectName("UnitPage");
    label12_->setObjectName("Label12");
    label12_->setWordWrap(true);

    auto* frame1 = frame(u("选择机体"), "Frame1");
    auto* frame1Layout = new QVBoxLayout(frame1);
    frame1Layout->addWidget(list1_);
    list1_->setMinimumWidth(150);

    auto* label3 = new QLabel(u("首地址"));
    label3->setObjectName("Label3");
    label3->setBuddy(text13_);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(label3);
    offsetRow->addWidget(text13_, 1);
    auto* writeRow = new QHBoxLayout;
    writeRow->addWidget(button("Command3", u("写入")), 1);
    writeRow->addWidget(text37_);
    text37_->setMaximumWidth(60);
    text37_->setToolTip(u("改造段数的四位十六进制数字（EN、HP、装甲、运动性）"));

    auto* left = new QVBoxLayout;
    left->addWidget(frame1, 1);
    left->addLayout(offsetRow);
    left->addLayout(writeRow);

    tabs_->setObjectName("SSTab2");
    tabs_->addTab(buildBasicPage(), u("基本参数"));
    tabs_->addTab(buildWeaponPage(), u("机体武器"));
    tabs_->addTab(buildOtherPage(), u("其他"));
    tabs_->addTab(buildSkillPage(), u("机体技能"));

    auto* right = new QVBoxLayout;
    right->addWidget(tabs_, 1);
    right->addWidget(label12_);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(&context_, &EditorContext::executableOpened, this, &UnitPage::fillNameLists);
}

QWidget* UnitPage::buildBasicPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    addWideRow(grid, 0, u("机体代码"), choiceBox("Combo1", {}, 160), 3);
    addRow(grid, 1, {{u("HP"), textBox("Text2")}, {u("EN"), textBox("Text3")}});
    addRow(grid, 2, {{u("运动性"), textBox("Text5")}, {u("装甲"), textBox("Text6")}});
    addRow(grid, 3, {{u("移动力"), textBox("Text4")}, {u("COST"), textBox("Text7")}});
    addRow(grid, 4, {{u("修理费"), textBox("Text8")}, {u("击破费"), textBox("Text9")}});
    addRow(grid, 5, {{u("EXP"), textBox("Text11")}, {u("PP"), textBox("Text12")}});
    addRow(grid, 6,
           {{u("芯片数"), textBox("Text10")}, {u("SIZE"), choiceBox("Combo2", unitSizes(), 70)}});
    grid->setColumnStretch(4, 1);

    auto* steps = frame(u("改造段数"), "FrameSteps");
    auto* stepGrid = new QGridLayout(steps);
    addRow(stepGrid, 0,
           {{u("EN"), textBox("Text14", 40)},
            {u("HP"), textBox("Text15", 40)},
            {u("装甲"), textBox("Text16", 40)},
            {u("运动性"), textBox("Text17", 40)}});
    auto* patches = new QHBoxLayout;
    patches->addWidget(button("Command4", u("TF改造丑小鸭")));
    patches->addWidget(button("Command7", u("全机体可装4芯片")));
    patches->addStretch();
    stepGrid->addLayout(patches, 1, 0, 1, 8);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(steps);
    layout->addStretch();
    return page;
}

QWidget* UnitPage::buildWeaponPage() {
    auto* page = new QWidget;
    list2_->setMaximumWidth(110);
    auto* grid = new QGridLayout;
    addWideRow(grid, 0, u("武器名称"), textBox("Text20", 260), 3);
    addWideRow(grid, 1, u("文本显示"), readOnlyBox("Text21", 260), 3);
    addRow(grid, 2, {{u("攻击力"), textBox("Text18")}, {u("必要气力"), textBox("Text27")}});
    addRow(grid, 3, {{u("近射程"), textBox("Text19")}, {u("远射程"), textBox("Text22")}});
    addRow(grid, 4, {{u("命中"), textBox("Text23")}, {u("CT"), textBox("Text24")}});
    addRow(grid, 5, {{u("残弹"), textBox("Text25")}, {u("消费EN"), textBox("Text26")}});
    auto* attribute = new QHBoxLayout;
    attribute->addWidget(textBox("Text30", 50));
    attribute->addWidget(button("Command9", u("？")));
    auto* attributeBox = new QWidget;
    attributeBox->setLayout(attribute);
    attribute->setContentsMargins(0, 0, 0, 0);
    addRow(grid, 6,
           {{u("改造类型"), choiceBox("Combo15", weaponUpgradeTypes())},
            {u("武器属性"), attributeBox}});
    addRow(grid, 7, {{u("武器种类"), choiceBox("Combo14", weaponKinds())}});
    addRow(grid, 8,
           {{u("必要技能"), choiceBox("Combo13", requiredSkills())},
            {u("等级"), textBox("Text32", 40)}});
    grid->setColumnStretch(4, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(grid);
    right->addWidget(terrainFrame("Combo3"));
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(list2_);
    layout->addLayout(right, 1);
    return page;
}

QWidget* UnitPage::buildOtherPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    addWideRow(grid, 0, u("机体名称"), textBox("Text33", 300), 2);
    addWideRow(grid, 1, u("文本显示"), readOnlyBox("Text34", 300), 2);
    addRow(grid, 2, {{u("移动类型"), choiceBox("Combo7", moveTypes())}});
    addRow(grid, 3, {{u("换乘类型"), choiceBox("Combo16", transferTypes())}});
    addRow(grid, 4, {{u("主机师"), choiceBox("Combo12", {}, 160)}});
    auto* attribute = new QHBoxLayout;
    attribute->setContentsMargins(0, 0, 0, 0);
    attribute->addWidget(textBox("Text35", 50));
    attribute->addWidget(button("Command10", "?"));
    attribute->addStretch();
    auto* attributeBox = new QWidget;
    attributeBox->setLayout(attribute);
    addRow(grid, 5, {{u("机体属性"), attributeBox}});
    grid->setColumnStretch(2, 1);

    auto* special = frame(u("特别操作"), "FrameSpecial");
    auto* specialRow = new QHBoxLayout(special);
    specialRow->addWidget(button("Command5", u("复制该机体数据")));
    specialRow->addWidget(button("Command6", u("粘贴机体数据")));
    specialRow->addWidget(button("Command8", "?"));
    specialRow->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(terrainFrame("Combo8"));
    layout->addWidget(special);
    layout->addStretch();
    return page;
}

QWidget* UnitPage::buildSkillPage() {
    auto* page = new QWidget;
    auto* skills1 = frame(u("机体技能1"), "FrameSkills1");
    auto* lists = new QHBoxLayout(skills1);
    for (const auto& [name, items] :
         {std::pair{"List3", &unitSkills1()}, std::pair{"List4", &unitSkills2()}}) {
        auto* list = listBox(name, true);
        list->addItems(toStringList(*items));
        list->setMinimumHeight(16 * 20);
        lists->addWidget(list);
    }

    auto* skills2 = frame(u("机体技能2"), "FrameSkills2");
    auto* toggles = new QHBoxLayout(skills2);
    // Left to right: the blade, the red emblem, the wrench, the letters EN.
    for (int k : {1, 0, 3, 2}) {
        const UnitIcon icon = unitIcon(k);
        toggles->addWidget(new IconToggle(k, icon.off, icon.on, icon.tip));
    }
    toggles->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(skills1, 1);
    layout->addWidget(skills2);
    return page;
}

void UnitPage::fillNameLists() {
    const QStringList units = toStringList(context_.lists().units);
    list1_->clear();
    list1_->addItems(units);
    auto* combo1 = findChild<QComboBox*>("Combo1");
    combo1->clear();
    combo1->addItems(units);
    combo1->setCurrentIndex(-1);
    auto* combo12 = findChild<QComboBox*>("Combo12");
    combo12->clear();
    combo12->addItems(toStringList(context_.lists().pilots));
    combo12->setCurrentIndex(-1);
}

}  // namespace vorlan
