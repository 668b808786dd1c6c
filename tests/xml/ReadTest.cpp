#include "xml/XmlTestSupport.h"
