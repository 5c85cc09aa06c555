#include <gtest/gtest.h>
#include "app/seams.h"
#include "support/msgbox.h"

TEST(Seams, MessageBoxGoesThroughTheHandler)
{
    MessageBoxRecorder rec(wxNO);
    EXPECT_EQ(ZPMessageBox(wxT("Frage?"), wxYES_NO | wxICON_QUESTION), wxNO);
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_EQ(rec.boxes()[0].caption, wxT("Zappora E2"));
    EXPECT_EQ(rec.boxes()[0].text, wxT("Frage?"));
}
