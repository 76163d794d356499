#pragma once

#include "app/Main.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <memory>

// A strip built offscreen on a temporary program directory, with scripted dialogs, a recording
// starter and fake icons.
class FormTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    std::unique_ptr<TForm1> form;

    TForm1& Start()
    {
        form = std::make_unique<TForm1>(env.platform());
        return *form;
    }
    std::string Settings() const { return env.read("FILE.INI").value_or("<missing>"); }
};
