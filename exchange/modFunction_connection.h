// How the data classes reach the connection component: creating components by ProgID, opening the
// connection from the props string, and the props check every public operation starts with.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/automation/object.h"
#include "platform/sql/lexer.h"

namespace quillane::modFunction {

inline constexpr const char* kConnectionProgID = "VLMConnection.Connection";

// Creates the class registered under strProgID. A non-empty strServer names a remote machine, which
// this platform does not reach: that creation fails. On failure the result is null; with bRaise the
// error is raised again with its number and source and the description "<description> -- <ProgID>".
ObjectRef CreateObjectEx(std::string_view strProgID, std::string_view strServer, bool bRaise);

// Creates the connection component into a null oConn (raising as CreateObjectEx does), then sets its
// ConnString to the props value ConnectString. The component opens the database on its first use.
void OpenConnection(ObjectRef& oConn);

// Raises, before anything is written, when strFile is the file of the account set that the last
// parsed props string names, by any of its names (output_file.h): an export must not overwrite what
// it reads.
void RefuseAccountSetAsOutput(const std::string& strFile);

// Parses the props string and reads the account set's service pack (MParse.ParseProps). True when
// both succeed; otherwise strError holds the FormatErrInfo text of the error and the result is False.
// Never raises a run-time error.
bool InitProps(std::string_view strPropsString, std::string& strError);

// The value of a field in the current row of a recordset of the component (rs.Fields(name).Value).
Variant FieldValue(const ObjectRef& rs, std::string_view strField);

// Asks the connection component, when it is the library's own, to read the database as it stands now
// until CloseConn and to refuse every write until then (sql::Connection::HoldReads, ForbidWrites): for
// an operation that only reads, such as an export, whose statements hold text of the caller's.
void HoldReads(const ObjectRef& oConn);

// Late-bound calls on the connection component and its recordsets, whatever class stands behind the
// ProgID (a test may put its own there).
ObjectRef GetAnyRecordSet(const ObjectRef& oConn, std::string_view strSQL);
// GetAnyRecordSet of a query whose skeleton (sql::LexSkeleton) and literals the caller knows: on the
// component's own connection, once it has run a text of that skeleton, the rows come from the statement
// kept for it without the text being lexed; else, and on any other connection, the text runs.
ObjectRef GetKnownRecordSet(const ObjectRef& oConn, std::string_view strSQL, const std::string& skeleton,
                            std::span<const sql::Token> literals);
void ExecuteSQL(const ObjectRef& oConn, std::string_view strSQL);
bool IsEOF(const ObjectRef& rs);
void MoveNext(const ObjectRef& rs);
// Calls a member without arguments (BeginTrans, CommitTrans, CloseConn...).
void CallMember(const ObjectRef& object, std::string_view strMember);
// The same in an error handler: a null object is skipped and an error of the call is swallowed, so
// that cleaning up after a failure never hides the failure itself.
void CallMemberQuietly(const ObjectRef& object, std::string_view strMember) noexcept;

// Runs work in one transaction of the connection component: BeginTrans, work, CommitTrans. When the
// work or the commit fails, the transaction is rolled back and the error raised again; when BeginTrans
// itself fails there is no transaction, and nothing is rolled back.
void InTransaction(const ObjectRef& oConn, const std::function<void()>& work);

}  // namespace quillane::modFunction
