// SPDX-License-Identifier: GPL-3.0-or-later
// Messages of the registry store's failures.
#include "registryerror.h"

namespace platform {

const char* RegistryPrefix(RegistryErrorKind kind)
{
    switch (kind) {
    case RegistryErrorKind::WrongKind: return RegistryText::WrongKind;
    case RegistryErrorKind::MissingValue: return RegistryText::MissingValue;
    case RegistryErrorKind::KeyFailed: return RegistryText::KeyFailed;
    case RegistryErrorKind::WriteFailed: return RegistryText::WriteFailed;
    case RegistryErrorKind::ReadFailed: return RegistryText::ReadFailed;
    case RegistryErrorKind::Unavailable: return RegistryText::Unavailable;
    case RegistryErrorKind::Corrupt: return RegistryText::Corrupt;
    }
    return RegistryText::ReadFailed;
}

RegistryError::RegistryError(RegistryErrorKind kind, std::string name, std::string detail)
    : std::runtime_error(RegistryPrefix(kind) + name), kind(kind), name(std::move(name)),
      detail(std::move(detail))
{
}

RegistryCorruptError::RegistryCorruptError(std::string fileName, std::string detail)
    : RegistryError(RegistryErrorKind::Corrupt, std::move(fileName), std::move(detail))
{
}

} // namespace platform
