// TinyXML comes through common.dll: its classes must link and work from there.
#include <tinyxml.h>

#include <gtest/gtest.h>

TEST(TinyXml, ParsesTheDocumentsTheHallReads)
{
    const char* text = "<?xml version=\"1.0\" encoding=\"gb2312\"?>"
                       "<BulletinList>"
                       "<Item color=\"#FF8000\">公告  一</Item>"
                       "<Item color=\"#00FF00\">second</Item>"
                       "<Other/>"
                       "</BulletinList>";
    TiXmlBase::SetCondenseWhiteSpace(false);
    TiXmlDocument document;
    document.Parse(text, NULL, TIXML_ENCODING_LEGACY);
    ASSERT_FALSE(document.Error()) << document.ErrorDesc();
    TiXmlElement* root = document.RootElement();
    ASSERT_TRUE(root != NULL);
    EXPECT_STREQ("BulletinList", root->Value());

    TiXmlElement* item = root->FirstChildElement("Item");
    ASSERT_TRUE(item != NULL);
    EXPECT_STREQ("#FF8000", item->Attribute("color"));
    EXPECT_STREQ("公告  一", item->GetText()); // blanks kept
    item = item->NextSiblingElement("Item");
    ASSERT_TRUE(item != NULL);
    EXPECT_STREQ("second", item->GetText());
    EXPECT_TRUE(item->Attribute("missing") == NULL);

    TiXmlNode* first = root->FirstChild();
    ASSERT_TRUE(first != NULL);
    EXPECT_EQ(TiXmlNode::TINYXML_ELEMENT, first->Type());
    EXPECT_TRUE(first->NextSibling()->NextSibling() == root->LastChild());

    TiXmlDocument broken;
    broken.Parse("<a><b></a>");
    EXPECT_TRUE(broken.Error());
    TiXmlBase::SetCondenseWhiteSpace(true);
}
