#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest print QStrings as text in failure messages.
void PrintTo(const QString& text, std::ostream* out);
