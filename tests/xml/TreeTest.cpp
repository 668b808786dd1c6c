// The tree model: adding, looking up by name, emptying, deep trees.
#include "xml/XmlTestSupport.h"

namespace tasklane::xml {
namespace {

TEST(Tree, NewTreeHasAnEmptyUnnamedRoot) {
  XmlTree tree;
  EXPECT_EQ(tree.Root().Kind(), XmlNodeKind::Element);
  EXPECT_TRUE(tree.Root().Name().empty());
  EXPECT_EQ(tree.Root().Items().Count(), 0);
  EXPECT_EQ(tree.Prolog().Count(), 0);
  EXPECT_EQ(tree.IndentString(), u"  ");
}

TEST(Tree, AddKeepsOrderAndOwner) {
  XmlTree tree;
  XmlElementList& items = tree.Root().Items();
  XmlElement& first = items.Add(u"Left", u"100");
  XmlElement& second = items.Add(u"Top");
  ASSERT_EQ(items.Count(), 2);
  EXPECT_EQ(&items.ChildAt(0), &first);
  EXPECT_EQ(&items.ChildAt(1), &second);
  EXPECT_EQ(first.Value(), u"100");
  EXPECT_TRUE(second.Value().empty());
  EXPECT_EQ(second.Kind(), XmlNodeKind::Element);
  EXPECT_EQ(second.Parent(), &tree.Root());
  EXPECT_EQ(items.Add(u"").Name(), u"");
}

TEST(Tree, ChildNamedIgnoresCaseAndTakesTheLast) {
  XmlTree tree;
  XmlElementList& items = tree.Root().Items();
  items.Add(u"Left", u"1");
  items.Add(u"\u00e4pfel", u"2");
  items.Add(u"LEFT", u"3");
  ASSERT_NE(items.ChildNamed(u"left"), nullptr);
  EXPECT_EQ(items.ChildNamed(u"left")->Value(), u"3");
  ASSERT_NE(items.ChildNamed(u"\u00c4PFEL"), nullptr);
  EXPECT_EQ(items.ChildNamed(u"\u00c4PFEL")->Value(), u"2");
  EXPECT_EQ(items.ChildNamed(u"Right"), nullptr);
  EXPECT_EQ(items.Count(), 3);  // a failed lookup adds nothing
}

TEST(Tree, NameIndexFollowsEveryChange) {
  XmlTree tree;
  XmlElementList& items = tree.Root().Items();
  XmlElement& left = items.Add(u"Left");
  EXPECT_EQ(items.ChildNamed(u"Left"), &left);
  left.SetName(u"Top");
  EXPECT_EQ(items.ChildNamed(u"Left"), nullptr);
  EXPECT_EQ(items.ChildNamed(u"top"), &left);
  XmlElement& later = items.Add(u"Top");
  EXPECT_EQ(items.ChildNamed(u"Top"), &later);
  items.RemoveAt(1);
  EXPECT_EQ(items.ChildNamed(u"Top"), &left);
  left.SetName(u"");  // an empty name changes nothing
  EXPECT_EQ(left.Name(), u"Top");
}

TEST(Tree, LoadingTheEmptyTextEmptiesAllButTheRootName) {
  XmlTree tree;
  tree.LoadFromBytes("<?xml version=\"1.0\"?><ns:Old a=\"1\">v</ns:Old>");
  ASSERT_EQ(tree.Root().NameSpace(), u"ns");
  tree.Root().Items().Add(u"Child");
  tree.Root().SetName(u"ToDoList");
  tree.LoadFromString(u"");
  EXPECT_EQ(tree.Root().Name(), u"ToDoList");
  EXPECT_EQ(tree.Root().Items().Count(), 0);
  EXPECT_TRUE(tree.Root().Value().empty());
  EXPECT_TRUE(tree.Root().NameSpace().empty());
  EXPECT_EQ(tree.Root().Properties().Count(), 0);
  EXPECT_EQ(tree.Prolog().Count(), 0);
}

TEST(Tree, DeepTreesAreWrittenAndDestroyedWithoutRecursion) {
  auto tree = std::make_unique<XmlTree>();
  XmlElement* last = &tree->Root();
  last->SetName(u"a");
  tree->SetIndentString(u"");  // keeps the text linear in the depth
  for (int i = 0; i < 200000; ++i) last = &last->Items().Add(u"a");
  const std::string bytes = tree->SaveToBytes();
  EXPECT_GT(bytes.size(), 200000u);
  tree.reset();
}

}  // namespace
}  // namespace tasklane::xml
