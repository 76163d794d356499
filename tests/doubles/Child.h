#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QWidget>

namespace doubles {

// The child of parent, at any depth, of the type and name asked for; when there is none, a
// failure of the test that names it, and null.
template <typename Object = QWidget> Object* Child(const QObject& parent, const QString& name)
{
    auto* child = parent.findChild<Object*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

} // namespace doubles
