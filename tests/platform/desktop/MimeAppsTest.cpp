#include "platform/desktop/MimeApps.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

using platform::MimeTypeNames;
using platform::XdgDirectories;

namespace {

class MimeApps : public testing::Test {
protected:
    QTemporaryDir temporary;
    const std::string root = temporary.path().toStdString();
    const XdgDirectories directories{root + "/config-home",
                                     {root + "/config-sys"},
                                     root + "/data-home",
                                     {root + "/data-a", root + "/data-b"},
                                     {"lumen"}};

    // Writes a file below the root, with the directories leading to it.
    void Write(const std::string& relative, const std::string& text)
    {
        const std::filesystem::path path = root + "/" + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }

    void App(const std::string& relative, const std::string& mimeTypes, const std::string& more = "")
    {
        Write(relative, "[Desktop Entry]\nType=Application\nExec=app\nMimeType=" + mimeTypes + "\n" + more);
    }

    // The desktop file chosen for the types, relative to the root; empty for none.
    std::string Chosen(const std::vector<MimeTypeNames>& types = {{"text/plain"}})
    {
        const auto application = platform::DefaultApplication(types, directories);
        return application ? application->path().substr(root.size() + 1) : std::string();
    }
};

} // namespace

TEST_F(MimeApps, DefaultComesFromTheMostImportantListThatNamesAnInstalledApplication)
{
    for (const char* name : {"e", "d", "c", "b", "a"})
        App(std::string("data-a/applications/") + name + ".desktop", "text/plain;");
    App("data-home/applications/gone.desktop", "text/plain;", "Hidden=true\n");
    Write("data-a/applications/link.desktop", "[Desktop Entry]\nType=Link\nURL=http://x\nMimeType=text/plain;\n");
    Write("data-a/applications/noexec.desktop", "[Desktop Entry]\nType=Application\nMimeType=text/plain;\n");
    EXPECT_EQ(Chosen(), "data-a/applications/a.desktop"); // no default: the first association by id

    Write("data-b/applications/mimeapps.list", "[Default Applications]\ntext/plain=e.desktop\n");
    EXPECT_EQ(Chosen(), "data-a/applications/e.desktop");
    Write("data-home/applications/mimeapps.list", "[Default Applications]\ntext/plain=d.desktop\n");
    EXPECT_EQ(Chosen(), "data-a/applications/d.desktop");
    Write("config-sys/mimeapps.list",
          "[Default Applications]\ntext/plain=missing.desktop;gone.desktop;link.desktop;noexec.desktop;c.desktop\n");
    EXPECT_EQ(Chosen(), "data-a/applications/c.desktop");
    Write("config-home/mimeapps.list",
          "# mine\n[Default Applications]\nimage/png=a.desktop\n"
          "text/plain = b.desktop;\n");
    EXPECT_EQ(Chosen(), "data-a/applications/b.desktop");
    Write("config-home/lumen-mimeapps.list", "[Default Applications]\ntext/plain=a.desktop\n");
    EXPECT_EQ(Chosen(), "data-a/applications/a.desktop");
}

// A default is only a choice among the applications associated with the type, once every
// removal has been applied, also one in a list less important than the default's own.
TEST_F(MimeApps, ADefaultThatIsNotAssociatedIsPassedOver)
{
    App("data-a/applications/viewer.desktop", "image/png;");
    App("data-a/applications/editor.desktop", "text/plain;");
    App("data-a/applications/pager.desktop", "text/plain;");
    Write("config-home/mimeapps.list", "[Default Applications]\ntext/plain=viewer.desktop;pager.desktop\n");
    EXPECT_EQ(Chosen(), "data-a/applications/pager.desktop");

    Write("config-sys/mimeapps.list", "[Removed Associations]\ntext/plain=pager.desktop\n");
    EXPECT_EQ(Chosen(), "data-a/applications/editor.desktop");

    Write("config-home/mimeapps.list",
          "[Default Applications]\ntext/plain=viewer.desktop;pager.desktop\n"
          "[Added Associations]\ntext/plain=viewer.desktop\n");
    EXPECT_EQ(Chosen(), "data-a/applications/viewer.desktop");
}

TEST_F(MimeApps, WithoutDefaultTheFirstAssociationWinsMinusRemovedOnes)
{
    App("data-b/applications/zeta.desktop", "text/plain;");
    App("data-a/applications/tools/alpha.desktop", "image/png;text/plain");
    App("data-a/applications/beta.desktop", "text/plain");
    App("data-a/applications/unlisted.desktop", "image/png");
    EXPECT_EQ(Chosen(), "data-a/applications/beta.desktop"); // the ids sort: beta, tools-alpha

    Write("data-home/applications/mimeapps.list",
          "[Removed Associations]\ntext/plain=beta.desktop;tools-alpha.desktop\n");
    EXPECT_EQ(Chosen(), "data-b/applications/zeta.desktop");

    App("data-home/applications/zeta.desktop", "", "Hidden=true\n"); // deletes the installed copy
    EXPECT_EQ(Chosen(), "");

    // A removal holds for its own place and less important ones only.
    Write("config-home/mimeapps.list", "[Added Associations]\ntext/plain=beta.desktop;unlisted.desktop\n");
    EXPECT_EQ(Chosen(), "data-a/applications/beta.desktop");
    Write("config-home/mimeapps.list",
          "[Added Associations]\ntext/plain=unlisted.desktop\n"
          "[Removed Associations]\ntext/plain=unlisted.desktop\n");
    Write("data-b/applications/mimeapps.list", "[Default Applications]\ntext/plain=unlisted.desktop\n");
    EXPECT_EQ(Chosen(), "");
}

TEST_F(MimeApps, TheMostSpecificTypeWithAnyApplicationWins)
{
    App("data-a/applications/editor.desktop", "text/plain");
    Write("config-home/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
    const std::vector<MimeTypeNames> note{{"text/x-note", "text/x-old-note"}, {"text/plain"}};
    EXPECT_EQ(Chosen(note), "data-a/applications/editor.desktop");

    App("data-b/applications/noter.desktop", "text/x-old-note");
    EXPECT_EQ(Chosen(note), "data-b/applications/noter.desktop");
}

// An application for a type is associated with its subtypes: the default for the subtype wins
// over the parent type's default although both applications declare only the parent type.
TEST_F(MimeApps, ADefaultForASubtypeMayDeclareOnlyTheParentType)
{
    App("data-a/applications/b.desktop", "text/plain;");
    App("data-a/applications/c.desktop", "text/plain;");
    Write("config-home/mimeapps.list", "[Default Applications]\ntext/plain=b.desktop\n");
    Write("config-sys/mimeapps.list", "[Default Applications]\ntext/x-csrc=c.desktop\n");
    const std::vector<MimeTypeNames> source{{"text/x-csrc"}, {"text/plain"}};
    EXPECT_EQ(Chosen(source), "data-a/applications/c.desktop");
    EXPECT_EQ(Chosen(), "data-a/applications/b.desktop");

    // Removed from the subtype, it is no longer its default.
    Write("config-sys/mimeapps.list",
          "[Default Applications]\ntext/x-csrc=c.desktop\n"
          "[Removed Associations]\ntext/x-csrc=c.desktop\n");
    EXPECT_EQ(Chosen(source), "data-a/applications/b.desktop");
}

// Without a default, an application that lists the type by its own name wins over one that lists
// only an alias of it, and that one over one that lists only a parent type, whatever their ids.
TEST_F(MimeApps, TheTypesOwnNameComesBeforeAnAliasAndAnAliasBeforeAParent)
{
    const std::vector<MimeTypeNames> source{{"text/x-csrc", "text/x-c"}, {"text/plain"}};
    App("data-a/applications/a-plain.desktop", "text/plain;");
    EXPECT_EQ(Chosen(source), "data-a/applications/a-plain.desktop");
    App("data-a/applications/b-alias.desktop", "text/x-c;");
    EXPECT_EQ(Chosen(source), "data-a/applications/b-alias.desktop");
    App("data-a/applications/z-own.desktop", "text/x-csrc;");
    EXPECT_EQ(Chosen(source), "data-a/applications/z-own.desktop");

    // An image viewer that lists the alias image/pdf sorts before the PDF reader.
    const std::vector<MimeTypeNames> pdf{{"application/pdf", "image/pdf", "application/x-pdf"}};
    App("data-a/applications/display-im6.q16.desktop", "image/gif;image/pdf;image/png;");
    App("data-a/applications/mupdf.desktop", "application/pdf;application/x-cbz;");
    EXPECT_EQ(Chosen(pdf), "data-a/applications/mupdf.desktop");
    // A default named under the alias still counts.
    Write("config-home/mimeapps.list", "[Default Applications]\nimage/pdf=display-im6.q16.desktop\n");
    EXPECT_EQ(Chosen(pdf), "data-a/applications/display-im6.q16.desktop");
}
