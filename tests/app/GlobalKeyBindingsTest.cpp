#include "app/GlobalKeyBindings.h"
#include "platform/GlobalKeys.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Keys the desktop hands out as a script says: the keys asked for are kept, those named in refuse
// are not had.
class FakeGlobalKeys final : public platform::GlobalKeys {
public:
    QStringList refuse;
    std::vector<platform::GlobalKey> taken;
    std::function<void(const QString&)> onPress;
    int takes = 0;

    QStringList Take(const std::vector<platform::GlobalKey>& keys, std::function<void(const QString&)> press) override
    {
        ++takes;
        taken = keys;
        onPress = std::move(press);
        QStringList refused;
        for (const auto& key : keys)
            if (refuse.contains(key.id))
                refused << key.id;
        return refused;
    }
};

class GlobalKeyBindingsTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    FakeGlobalKeys keys;
    std::vector<TStripCommand> run;

    std::unique_ptr<TGlobalKeyBindings> Bind()
    {
        return std::make_unique<TGlobalKeyBindings>(env.platform(), keys, env.directory(),
                                                    [this](const TStripCommand& c) { run.push_back(c); });
    }
};

TEST_F(GlobalKeyBindingsTest, NoKeyIsTakenUnlessTheUserGaveIt)
{
    env.write("FILE.INI", "[Keys]\r\nSlot1=\r\n");
    {
        auto bindings = Bind();
        EXPECT_TRUE(keys.taken.empty());
    }
    EXPECT_TRUE(env.dialogs.messages.empty());
    EXPECT_EQ(env.settings(), "[Keys]\r\nSlot1=\r\n") << "nothing is written";
}

// Toggle and SlotN, in Qt's portable text, as the commands do; the keys go when the bindings do.
TEST_F(GlobalKeyBindingsTest, EachKeyDoesWhatItsCommandDoes)
{
    env.write("FILE.INI", "[keys]\r\ntoggle= Meta+T \r\nSlot3=Ctrl+Alt+3\r\nSlot12=F12\r\n");
    auto bindings = Bind();
    ASSERT_EQ(keys.taken.size(), 3u);
    EXPECT_EQ(keys.taken[0].id, QStringLiteral("Toggle"));
    EXPECT_EQ(keys.taken[0].key, QKeySequence(Qt::META | Qt::Key_T));
    EXPECT_EQ(keys.taken[1].key, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_3));
    EXPECT_EQ(keys.taken[2].id, QStringLiteral("Slot12"));
    EXPECT_FALSE(keys.taken[2].description.isEmpty());

    keys.onPress(QStringLiteral("Slot12"));
    keys.onPress(QStringLiteral("Toggle"));
    keys.onPress(QStringLiteral("Slot3"));
    EXPECT_EQ(run,
              (std::vector<TStripCommand>{{TStripCommand::Kind::Launch, 12},
                                          {TStripCommand::Kind::Toggle, 0},
                                          {TStripCommand::Kind::Launch, 3}}));
    EXPECT_TRUE(env.dialogs.messages.empty());
    bindings.reset();
    EXPECT_TRUE(keys.taken.empty());
}

// Keys that cannot be had, whether held elsewhere or no keys at all, are named in one message;
// the others work.
TEST_F(GlobalKeyBindingsTest, KeysThatCannotBeHadAreNamedOnceAndTheOthersWork)
{
    env.write("FILE.INI",
              "[Keys]\r\nSlot1=Ctrl+Alt+1\r\nSlot2=Ctrl+Alt+2\r\nSlot5=Ctrl+Nothing\r\n"
              "Slot6=Ctrl+K, Ctrl+C\r\n");
    keys.refuse = {QStringLiteral("Slot1")};
    auto bindings = Bind();
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    const QString text = env.dialogs.messages[0].text;
    for (const char* named : {"Ctrl+Alt+1 (Slot1)", "Ctrl+Nothing (Slot5)", "Ctrl+K, Ctrl+C (Slot6)"})
        EXPECT_TRUE(text.contains(QLatin1String(named))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("Slot2"))) << text.toStdString();
    keys.onPress(QStringLiteral("Slot2"));
    EXPECT_EQ(run, (std::vector<TStripCommand>{{TStripCommand::Kind::Launch, 2}}));
}

} // namespace
