// SPDX-License-Identifier: GPL-3.0-or-later
// Registry failures as messages in the user's language.
#include "registrymessages.h"

#include "qlconsts.h"
#include "sysbib.h"

#include <string_view>

using platform::RegistryErrorKind;

// The store is below the user interface and writes its texts itself; they must stay
// the texts a language file translates.
static_assert(std::string_view(QlConsts::RegWrongKind) == platform::RegistryText::WrongKind);
static_assert(std::string_view(QlConsts::RegMissingValue) == platform::RegistryText::MissingValue);
static_assert(std::string_view(QlConsts::RegKeyFailed) == platform::RegistryText::KeyFailed);
static_assert(std::string_view(QlConsts::RegWriteFailed) == platform::RegistryText::WriteFailed);
static_assert(std::string_view(QlConsts::RegReadFailed) == platform::RegistryText::ReadFailed);
static_assert(std::string_view(QlConsts::RegUnavailable) == platform::RegistryText::Unavailable);
static_assert(std::string_view(QlConsts::RegCorrupt) == platform::RegistryText::Corrupt);

namespace {

bool unreadableReported = false;

} // namespace

QString RegistryMessage(const platform::RegistryError& error)
{
    return Tr(error.Prefix()) + QString::fromStdString(error.Name());
}

bool ReportRegistryError(const platform::RegistryError& error)
{
    const bool unreadable =
        error.Kind() == RegistryErrorKind::Corrupt || error.Kind() == RegistryErrorKind::Unavailable;
    if (!unreadable) {
        ErrorBox(RegistryMessage(error));
        return true;
    }
    if (unreadableReported)
        return false;
    unreadableReported = true;
    ErrorBox(Tr(QlConsts::SettingsUnreadable) + QString::fromStdString(error.Name()));
    return true;
}
