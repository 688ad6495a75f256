// SPDX-License-Identifier: GPL-3.0-or-later
// Exceptions the editor raises; each carries one of the program's resource strings
// (already formatted) as its message, for the caller to show.
#pragma once

#include <stdexcept>
#include <string>

// Base of the errors of the stream path.
class EEditorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The control refused a stream ("out of resources").
class EOutOfResources : public EEditorError {
public:
    using EEditorError::EEditorError;
};

// A file could not be created for saving.
class EFCreateError : public EEditorError {
public:
    using EEditorError::EEditorError;
};

// Saving to a file failed after it was created.
class EWriteError : public EEditorError {
public:
    using EEditorError::EEditorError;
};

// A file could not be opened, or is not something the editor can load.
class EFOpenError : public EEditorError {
public:
    using EEditorError::EEditorError;
};

// Reading a stream failed: an input/output error, or a file that changed meanwhile.
class EReadError : public EEditorError {
public:
    using EEditorError::EEditorError;
};
