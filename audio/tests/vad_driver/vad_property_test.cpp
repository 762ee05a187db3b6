// Which property requests the driver answers, and which it refuses for their set, id, direction
// or buffer sizes.
#include "vad_property.h"

#include <gtest/gtest.h>

namespace {

VadProperty Request(uint32_t id, uint32_t flags) {
  return VadProperty{
      {VAD_PROPSET_DATA1, VAD_PROPSET_DATA2, VAD_PROPSET_DATA3, VAD_PROPSET_DATA4}, id, flags};
}

TEST(VadPropertyTest, TheFourRequestsWithTheirDirectionAndValueSize) {
  VadProperty p = Request(VAD_PROPID_QUERY, VAD_PROPERTY_GET);
  EXPECT_EQ(vad_classify_property(&p, 24, 24), VAD_REQUEST_QUERY);
  p = Request(VAD_PROPID_MAP, VAD_PROPERTY_GET);
  EXPECT_EQ(vad_classify_property(&p, 24, 8), VAD_REQUEST_MAP);
  p = Request(VAD_PROPID_CONFIRM, VAD_PROPERTY_SET);
  EXPECT_EQ(vad_classify_property(&p, 24, 8), VAD_REQUEST_CONFIRM);
  p = Request(VAD_PROPID_UNMAP, VAD_PROPERTY_SET);
  EXPECT_EQ(vad_classify_property(&p, 24, 8), VAD_REQUEST_UNMAP);
}

TEST(VadPropertyTest, OtherSetsIdsAndDirectionsAreUnknown) {
  VadProperty p = Request(VAD_PROPID_MAP, VAD_PROPERTY_SET);
  EXPECT_EQ(vad_classify_property(&p, 24, 8), VAD_REQUEST_UNKNOWN);
  p = Request(VAD_PROPID_UNMAP, VAD_PROPERTY_GET);
  EXPECT_EQ(vad_classify_property(&p, 24, 8), VAD_REQUEST_UNKNOWN);
  p = Request(VAD_PROPID_QUERY, VAD_PROPERTY_GET | VAD_PROPERTY_SET);
  EXPECT_EQ(vad_classify_property(&p, 24, 24), VAD_REQUEST_UNKNOWN);
  p = Request(0x104F, VAD_PROPERTY_GET);
  EXPECT_EQ(vad_classify_property(&p, 24, 8), VAD_REQUEST_UNKNOWN);
  p = Request(VAD_PROPID_MAP, VAD_PROPERTY_GET);
  p.set.data4[7] ^= 1;
  EXPECT_EQ(vad_classify_property(&p, 24, 8), VAD_REQUEST_UNKNOWN);
}

TEST(VadPropertyTest, WrongRequestOrValueSizesAreRefused) {
  const VadProperty map = Request(VAD_PROPID_MAP, VAD_PROPERTY_GET);
  EXPECT_EQ(vad_classify_property(nullptr, 24, 8), VAD_REQUEST_BAD_SIZE);
  EXPECT_EQ(vad_classify_property(&map, 23, 8), VAD_REQUEST_BAD_SIZE);
  EXPECT_EQ(vad_classify_property(&map, 32, 8), VAD_REQUEST_BAD_SIZE);
  EXPECT_EQ(vad_classify_property(&map, 24, 0), VAD_REQUEST_BAD_SIZE);
  EXPECT_EQ(vad_classify_property(&map, 24, 16), VAD_REQUEST_BAD_SIZE);
  const VadProperty query = Request(VAD_PROPID_QUERY, VAD_PROPERTY_GET);
  EXPECT_EQ(vad_classify_property(&query, 24, 8), VAD_REQUEST_BAD_SIZE);
  const VadProperty unmap = Request(VAD_PROPID_UNMAP, VAD_PROPERTY_SET);
  EXPECT_EQ(vad_classify_property(&unmap, 24, 4), VAD_REQUEST_BAD_SIZE);
}

}  // namespace
