// The user's rights in the ERP's own access control: users (t_User), their groups (t_Group, group 1
// the administrators) and the access rows per object (t_AccessControl). The user is the props
// string's UserID; every check opens short-lived connections of its own.
#pragma once

#include <cstdint>

#include "platform/automation/object.h"

namespace quillane::modFunction {

// True when the props user holds every bit of |lMask| on the object (or on every object of the type,
// FObjectID 0); administrators hold every right; a deny row with a negative mask beats any grant.
// Connection and query failures reach the caller.
bool HasAccessRight(std::int16_t iObjectType, std::int32_t lObjectID, std::int32_t lMask);
// The props user is valid and a member of group 1. Any error gives False.
bool IsAdminUser();
// The props user's FUserID when the user exists and is not forbidden, else -1. Any error gives -1.
std::int32_t GetValidUserID(const ObjectRef& oConn);
// The access rows that concern the user or the user's groups, deny rows first.
ObjectRef GetAccessControl(const ObjectRef& oConn, std::int16_t iObjectType, std::int32_t lObjectID,
                           std::int16_t iUserID);

}  // namespace quillane::modFunction
