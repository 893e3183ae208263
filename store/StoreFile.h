#pragma once

#include <QString>

#include <optional>

// Creates an empty store at `storePath` from the statements in `schemaPath`.
// Never touches an existing file; a creation that fails half way leaves no
// file behind. Returns the failure text, or nothing on success.
std::optional<QString> createStoreFile(const QString& storePath, const QString& schemaPath);
