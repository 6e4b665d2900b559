// Entry point of every test program.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <afxtest.h>

namespace
{

// A box or dialog no test script expected would wait for a user who never
// comes: fail the running test with what it showed and answer Cancel.
BOOL FailUnexpectedModal(AFX_MODAL_REQUEST& request, INT_PTR& nResult)
{
    static const char* const kKinds[] = {"", "message box", "dialog", "common dialog"};
    const char* kind = request.nKind >= afxModalMessageBox && request.nKind <= afxModalCommonDialog
                           ? kKinds[request.nKind]
                           : "modal window";
    ADD_FAILURE() << "unexpected " << kind << " \"" << (LPCTSTR)request.strCaption << "\": \""
                  << (LPCTSTR)request.strText << "\""
                  << " (" << (LPCTSTR)request.strClassName << ")";
    nResult = IDCANCEL;
    return TRUE;
}

} // namespace
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
    AfxSetModalResponder(FailUnexpectedModal);
#endif
    return RUN_ALL_TESTS();
}
