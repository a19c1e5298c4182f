#pragma once

#include <QString>

namespace verdan::test {

// Points the program folder at a throw-away directory so no test touches the user's settings.
void PrepareTestEnvironment();

// A fresh empty directory below the test home, removed at process exit.
QString NewTempDir();

// Path of a fixture below tests/data.
QString TestData(const QString& relative);

// Path of a public sample below tests/data/samples (GEDCOM files of other programs and the like).
QString SampleData(const QString& relative);

} // namespace verdan::test
