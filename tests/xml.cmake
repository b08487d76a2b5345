# Tests of the XML DOM adapter and the reader base.
kxtmat_add_test(xml_dom_test
  SOURCES xml_dom_test.cpp support/temp_dir.cpp
  LIBS kxtmat_xml)
